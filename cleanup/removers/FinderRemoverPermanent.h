#pragma once

#include "cleanup/removers/FinderRemover.h"

namespace korvex {

// Deletes the items for good, clearing the attributes that lock them and
// their folders first.
class FinderRemoverPermanent : public FinderRemover {
  public:
    using FinderRemover::FinderRemover;

  protected:
    BashScriptRef removalScript(const std::vector<std::string>& paths) const override;
};

}  // namespace korvex
