#pragma once

#include "cleanup/removers/UnifiedRemoveErrorInfo.h"

namespace korvex {

// What the elevated retry tells the removal that handed it the refused
// items: each item exactly once, removed or still failed, then the end.
class UnifiedRemovedInfoCheckListener {
  public:
    virtual ~UnifiedRemovedInfoCheckListener() = default;
    // The item is gone: it succeeded, and its path is a removed path.
    virtual void onInfoRemoved(const UnifiedRemoveErrorInfo& info) = 0;
    // The item stays failed; its state holds `error` already.
    virtual void onInfoStillFailed(const UnifiedRemoveErrorInfo& info,
                                   const OperationError& error) = 0;
    // Every item has been told of.
    virtual void onInfoCheckFinished() = 0;
};

}  // namespace korvex
