#pragma once

#include "browse/contents/SelectionAvailability.h"
#include "scan/tree/CopiedFileItem.h"

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace korvex {

// What an operation asks of the collection it works for. Called on the main
// queue, except updateOnOperationComplete(), which comes from the
// performer's thread.
class OperationsCollection {
  public:
    virtual ~OperationsCollection() = default;
    // The trash for removing, a folder the user picks for moving and
    // copying; nothing when the user cancelled.
    virtual void askDestinationFolderForAction(
        CollectionAction action, std::function<void(std::optional<std::string>)> answer) = 0;
    virtual void operationModelDidStartAction(CollectionAction action) = 0;
    virtual void operationModelShowUI(bool afterGotErrorInFastMode) = 0;
    virtual void operationModelDidFinishWithUI(bool withUI) = 0;
    // `created` maps each destination folder to what was made in it.
    virtual void updateOnOperationComplete(
        const std::map<std::string, std::vector<CopiedFileItem>>& created,
        const std::vector<std::string>& removedPaths,
        const std::vector<std::string>& processedPaths) = 0;
};

}  // namespace korvex
