#include "cleanup/removers/FinderRemoveDataInfo.h"

namespace korvex {

std::optional<FinderRemoveDataInfo> FinderRemoveDataInfo::forItem(RootFileRemoveItemRef item) {
    if (!item || !item->path()) {
        return std::nullopt;
    }
    std::string path = *item->path();
    auto reference = platform::FileReference::open(path);
    if (!reference) {
        return std::nullopt;
    }
    return FinderRemoveDataInfo(std::move(item), std::move(path), std::move(*reference));
}

}  // namespace korvex
