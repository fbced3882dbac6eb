#include "cleanup/removers/UnifiedRemoveErrorInfo.h"

namespace korvex {

std::optional<UnifiedRemoveErrorInfo> UnifiedRemoveErrorInfo::forItem(OperationItemRef item) {
    if (!item) {
        return std::nullopt;
    }
    OperationResult result = item->state();
    if (!isFailed(result)) {
        return std::nullopt;
    }
    return UnifiedRemoveErrorInfo(std::move(item), std::move(result));
}

UnifiedRemoveErrorInfo::UnifiedRemoveErrorInfo(OperationItemRef item, OperationResult result)
    : mItem(std::move(item)), mError(*failureOf(result)), mOperationResult(std::move(result)) {}

}  // namespace korvex
