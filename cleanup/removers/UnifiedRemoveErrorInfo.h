#pragma once

#include "cleanup/operations/OperationItem.h"

#include <optional>

namespace korvex {

// An item the Trash refused, with the error it failed with then.
class UnifiedRemoveErrorInfo {
  public:
    // Nothing unless the item's result is a failure.
    static std::optional<UnifiedRemoveErrorInfo> forItem(OperationItemRef item);

    const OperationItemRef& item() const { return mItem; }
    const OperationError& error() const { return mError; }
    const OperationResult& operationResult() const { return mOperationResult; }

  private:
    UnifiedRemoveErrorInfo(OperationItemRef item, OperationResult result);

    OperationItemRef mItem;
    OperationError mError;
    OperationResult mOperationResult;
};

}  // namespace korvex
