#pragma once

#include "browse/contents/SelectionAvailability.h"
#include "cleanup/operations/FileOperations.h"
#include "cleanup/operations/OperationPerformer.h"
#include "cleanup/operations/RefusedRemovalRetrier.h"

#include <memory>

namespace korvex {

// Makes the performer of an action: removing, moving or copying.
class OperationPerformerBuilder {
  public:
    OperationPerformerBuilder(FileOperations files, std::shared_ptr<RefusedRemovalRetrier> retrier);
    std::shared_ptr<OperationPerformer> build(CollectionAction action,
                                              const std::string& destination) const;

  private:
    FileOperations mFiles;
    std::shared_ptr<RefusedRemovalRetrier> mRetrier;
};

}  // namespace korvex
