#pragma once

#include "cleanup/removers/ElevatedRemover.h"

namespace korvex {

// Moves the items to the Trash of the user who asked, each with its
// ".trashinfo". The password prompt is the authentication agent's own
// dialog, which polkit raises above every window by itself.
class ElevatedTrashRemover : public ElevatedRemover {
  public:
    using ElevatedRemover::ElevatedRemover;

  protected:
    void send(ElevatedHelper& helper, std::vector<elevated::TargetItem> items,
              ElevatedHelper::Completion completion) const override;
};

}  // namespace korvex
