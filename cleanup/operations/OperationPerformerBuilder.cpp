#include "cleanup/operations/OperationPerformerBuilder.h"

#include "cleanup/operations/RemovePerformer.h"
#include "cleanup/operations/TransferPerformer.h"

namespace korvex {

OperationPerformerBuilder::OperationPerformerBuilder(FileOperations files,
                                                     std::shared_ptr<RefusedRemovalRetrier> retrier)
    : mFiles(std::move(files)), mRetrier(std::move(retrier)) {}

std::shared_ptr<OperationPerformer> OperationPerformerBuilder::build(
    CollectionAction action, const std::string& destination) const {
    switch (action) {
        case CollectionAction::move:
            return std::make_shared<MovePerformer>(destination, mFiles.moveItem);
        case CollectionAction::copy:
            return std::make_shared<CopyPerformer>(destination, mFiles.copyItem);
        case CollectionAction::remove:
            break;
    }
    return std::make_shared<RemovePerformer>(destination, mFiles, mRetrier);
}

}  // namespace korvex
