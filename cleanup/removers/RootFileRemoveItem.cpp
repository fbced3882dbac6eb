#include "cleanup/removers/RootFileRemoveItem.h"

namespace korvex {

namespace {

std::optional<std::string> pathOf(const OperationItem& item) {
    if (item.path().empty()) {
        return std::nullopt;
    }
    return item.path();
}

}  // namespace

RootFileRemoveItem::RootFileRemoveItem(UnifiedRemoveErrorInfo errorInfo)
    : RefusedRemovalItem(pathOf(*errorInfo.item())), mErrorInfo(std::move(errorInfo)) {}

}  // namespace korvex
