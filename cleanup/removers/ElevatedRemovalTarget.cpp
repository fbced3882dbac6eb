#include "cleanup/removers/ElevatedRemovalTarget.h"

namespace korvex {

std::optional<ElevatedRemovalTarget> ElevatedRemovalTarget::forItem(RootFileRemoveItemRef item) {
    if (!item || !item->path() || !item->identity()) {
        return std::nullopt;
    }
    elevated::TargetItem target{*item->path(), item->identity()->device, item->identity()->inode};
    return ElevatedRemovalTarget(std::move(item), std::move(target));
}

}  // namespace korvex
