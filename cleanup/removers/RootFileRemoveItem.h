#pragma once

#include "cleanup/removers/RefusedRemovalItem.h"
#include "cleanup/removers/UnifiedRemoveErrorInfo.h"

#include <memory>
#include <vector>

namespace korvex {

// A refused item of an operation, classified from its path when made.
class RootFileRemoveItem : public RefusedRemovalItem {
  public:
    explicit RootFileRemoveItem(UnifiedRemoveErrorInfo errorInfo);

    const OperationItemRef& fileItem() const { return mErrorInfo.item(); }
    const UnifiedRemoveErrorInfo& errorInfo() const { return mErrorInfo; }

  private:
    UnifiedRemoveErrorInfo mErrorInfo;
};

using RootFileRemoveItemRef = std::shared_ptr<const RootFileRemoveItem>;
using RootFileRemoveItems = std::vector<RootFileRemoveItemRef>;

}  // namespace korvex
