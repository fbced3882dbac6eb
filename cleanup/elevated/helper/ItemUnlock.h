#pragma once

#include "cleanup/elevated/helper/SafeWalk.h"

#include <optional>

namespace korvex::elevated {

// Clears the lock attributes of a walked item for as long as it lives: the
// item's own for good (it is leaving), its parent folder's only until the
// item has gone, so that nothing else in that folder changes.
class ItemUnlock {
  public:
    explicit ItemUnlock(const WalkedItem& item);
    ~ItemUnlock();
    ItemUnlock(const ItemUnlock&) = delete;
    ItemUnlock& operator=(const ItemUnlock&) = delete;

  private:
    platform::UniqueFd mParent;
    std::optional<long> mParentFlags;
};

}  // namespace korvex::elevated
