#pragma once

#include "cleanup/removers/ElevatedRemover.h"

namespace korvex {

// Deletes the items for good, clearing the attributes that lock them and,
// while it works, their folders.
class ElevatedPermanentRemover : public ElevatedRemover {
  public:
    using ElevatedRemover::ElevatedRemover;

  protected:
    void send(ElevatedHelper& helper, std::vector<elevated::TargetItem> items,
              ElevatedHelper::Completion completion) const override;
};

}  // namespace korvex
