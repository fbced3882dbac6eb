#pragma once

#include "cleanup/operations/CollectedItemsSource.h"
#include "cleanup/operations/OperationPerformer.h"
#include "cleanup/operations/OperationPerformerBuilder.h"
#include "cleanup/operations/OperationsCollection.h"
#include "cleanup/operations/OperationsManagerState.h"
#include "cleanup/operations/OperationsViewRepresentation.h"

#include <memory>
#include <mutex>

namespace korvex {

// Runs one remove, move or copy over the nodes of a storage from start to
// finish: asks for the destination, has a performer do the work, sorts the
// results and tells the collection what changed and whether the review
// sheet must show. Main queue, but for the performer's reports.
class OperationsManager : public OperationPerformerListener,
                          public std::enable_shared_from_this<OperationsManager> {
  public:
    OperationsManager(std::shared_ptr<CollectedItemsSource> storage, CollectionAction action,
                      OperationsCollection* collection, OperationPerformerBuilder builder);

    // With the sheet the user starts the work from it; without, it starts now.
    void performOpeationsWithUI(bool withUI);
    // The sheet's action button: the work itself. Items already done stay
    // and are skipped; unticked ones leave the operation.
    void startOperation();

    bool isBusy() const;
    bool performingWithUI() const { return mPerformingWithUI; }
    void setPerformingWithUI(bool on) { mPerformingWithUI = on; }
    const std::shared_ptr<CollectedItemsSource>& storage() const { return mStorage; }
    CollectionAction action() const { return mAction; }
    OperationsManagerState state() const;
    OperationItems items() const;
    OperationsViewRepresentation& viewRepresentation();

    void onSelectionChanged();
    void actionTypeMenuControllerDidChangeAction(CollectionAction action);
    // The collection goes away before the manager's last report.
    void clearCollection() { mCollection = nullptr; }

    // OperationPerformerListener
    void operationPerformerProgress(double progress) override;
    void operationPerformerDidComplete(const OperationItems& items,
                                       const std::vector<std::string>& removedPaths,
                                       const std::vector<std::string>& processedPaths) override;

  private:
    void startWithDestination(const std::optional<std::string>& destination);
    void setState(OperationsManagerState state);
    void refreshViewRepresentation();
    void rebuildItems();

    OperationItems mItems;
    OperationsManagerState mState = OperationInReview{};
    CollectionAction mAction;
    OperationsCollection* mCollection;
    std::shared_ptr<CollectedItemsSource> mStorage;
    bool mPerformingWithUI = false;
    std::shared_ptr<OperationPerformer> operationPerformer;
    std::unique_ptr<OperationsViewRepresentation> viewRepresentationModel;
    OperationPerformerBuilder mBuilder;
    mutable std::mutex mLock;
};

}  // namespace korvex
