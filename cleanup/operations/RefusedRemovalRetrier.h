#pragma once

#include "cleanup/operations/OperationItem.h"

#include <functional>

namespace korvex {

// A second attempt at removing the items the trash refused, by other means
// (administrator rights). It tells of every item it removed, then finishes
// once; items it could not remove keep their first error.
class RefusedRemovalRetrier {
  public:
    virtual ~RefusedRemovalRetrier() = default;
    virtual void retry(const OperationItems& failed,
                       std::function<void(const OperationItemRef& removed)> didRemove,
                       std::function<void()> completion) = 0;
};

}  // namespace korvex
