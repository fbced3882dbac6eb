#pragma once

#include "cleanup/operations/OperationItem.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace korvex {

// What a performer reports to the one running the operation. Progress comes
// on the main queue; the completion on the performer's own thread.
class OperationPerformerListener {
  public:
    virtual ~OperationPerformerListener() = default;
    virtual void operationPerformerProgress(double progress) = 0;
    // `removedPaths` are gone from where they were; `processedPaths` are the
    // sources of every item that succeeded.
    virtual void operationPerformerDidComplete(const OperationItems& items,
                                               const std::vector<std::string>& removedPaths,
                                               const std::vector<std::string>& processedPaths) = 0;
};

// Does the file work of one action over the given items.
class OperationPerformer {
  public:
    virtual ~OperationPerformer() = default;
    virtual const std::optional<std::string>& destinationFolder() const = 0;
    virtual void perform(const OperationItems& items,
                         std::weak_ptr<OperationPerformerListener> listener) = 0;
};

}  // namespace korvex
