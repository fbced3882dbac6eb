#pragma once

#include "cleanup/elevated/records/ElevatedRecords.h"
#include "cleanup/removers/RootFileRemoveItem.h"

#include <optional>
#include <string>

namespace korvex {

// One item a remover hands to the administrator helper: its path and the
// file that was there when the refusal was classified.
class ElevatedRemovalTarget {
  public:
    // Nothing when the item has no path or nothing was at it.
    static std::optional<ElevatedRemovalTarget> forItem(RootFileRemoveItemRef item);

    const RootFileRemoveItemRef& item() const { return mItem; }
    const std::string& path() const { return mTarget.path; }
    // What the helper is sent.
    const elevated::TargetItem& target() const { return mTarget; }

  private:
    ElevatedRemovalTarget(RootFileRemoveItemRef item, elevated::TargetItem target)
        : mItem(std::move(item)), mTarget(std::move(target)) {}

    RootFileRemoveItemRef mItem;
    elevated::TargetItem mTarget;
};

}  // namespace korvex
