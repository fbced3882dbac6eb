#pragma once

#include "cleanup/elevated/helper/SafeWalk.h"

#include <optional>

namespace korvex::elevated {

// Clears the lock attributes of a walked item and of its parent folder for
// as long as it lives, then puts them back: the parent's always, so that
// nothing else in that folder changes, the item's unless it has gone.
class ItemUnlock {
  public:
    explicit ItemUnlock(const WalkedItem& item);
    ~ItemUnlock();
    ItemUnlock(const ItemUnlock&) = delete;
    ItemUnlock& operator=(const ItemUnlock&) = delete;

    // The item has left: its attributes went with it.
    void itemGone() { mItemFlags.reset(); }

  private:
    platform::UniqueFd mItem;
    std::optional<long> mItemFlags;
    platform::UniqueFd mParent;
    std::optional<long> mParentFlags;
};

}  // namespace korvex::elevated
