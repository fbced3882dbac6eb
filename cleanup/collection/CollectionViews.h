#pragma once

#include "cleanup/collection/CollectionAlerts.h"
#include "cleanup/collection/CollectionViewState.h"
#include "cleanup/operations/OperationsManager.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace korvex {

class ActionTypeMenuController;

// What the collection shows: its alerts, the folder panel, the review sheet,
// and the state of its button, summary and status line.
class CollectionViews : public CollectionAlertPresenter {
  public:
    // A folder to move or copy to; nothing when the user cancelled.
    virtual void chooseDestinationFolder(
        CollectionAction action, std::function<void(std::optional<std::string>)> answer) = 0;
    // The chosen folder is in the collection: "Choose another folder" or cancel.
    virtual void showFolderIsCollectedAlert(CollectionAction action, const std::string& folder,
                                            std::function<void(bool chooseAnother)> answer) = 0;
    // `dismissed` is called once the sheet has gone.
    virtual void showReviewSheet(const std::shared_ptr<OperationsManager>& manager,
                                 ActionTypeMenuController& chooser,
                                 std::function<void()> dismissed) = 0;
    virtual bool isReviewSheetVisible() const = 0;
    // Starts the sheet's operation as its action button would.
    virtual void startReviewSheetOperation() = 0;
    virtual void collectionViewStateChanged(const CollectionViewState& state) = 0;
};

}  // namespace korvex
