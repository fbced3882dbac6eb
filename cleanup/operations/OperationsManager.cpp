#include "cleanup/operations/OperationsManager.h"

#include "platform/dispatch/MainQueue.h"

namespace korvex {

OperationsManager::OperationsManager(std::shared_ptr<CollectedItemsSource> storage,
                                     CollectionAction action, OperationsCollection* collection,
                                     OperationPerformerBuilder builder)
    : mAction(action),
      mCollection(collection),
      mStorage(std::move(storage)),
      mBuilder(std::move(builder)) {
    rebuildItems();
}

void OperationsManager::rebuildItems() {
    OperationItems items;
    for (const auto& node : mStorage->getItems())
        items.push_back(std::make_shared<OperationItem>(node));
    std::lock_guard guard(mLock);
    mItems = std::move(items);
}

void OperationsManager::performOpeationsWithUI(bool withUI) {
    mPerformingWithUI = withUI;
    if (withUI) {
        if (mCollection)
            mCollection->operationModelShowUI(false);
    } else {
        startOperation();
    }
}

void OperationsManager::startOperation() {
    if (isBusy())
        return;
    setState(OperationInProgress{0.0});
    refreshViewRepresentation();
    if (!mCollection) {
        startWithDestination(std::nullopt);
        return;
    }
    std::weak_ptr<OperationsManager> weak = weak_from_this();
    mCollection->askDestinationFolderForAction(mAction,
                                               [weak](std::optional<std::string> destination) {
                                                   if (auto self = weak.lock())
                                                       self->startWithDestination(destination);
                                               });
}

void OperationsManager::startWithDestination(const std::optional<std::string>& destination) {
    if (!destination || !mCollection) {
        setState(OperationInReview{});
        std::weak_ptr<OperationsManager> weak = weak_from_this();
        platform::MainQueue::shared().async([weak] {
            if (auto self = weak.lock())
                self->refreshViewRepresentation();
        });
        return;
    }
    // Only now is there something to wait for: the status says so.
    mCollection->operationModelDidStartAction(mAction);
    operationPerformer = mBuilder.build(mAction, *destination);
    OperationItems kept;
    {
        std::lock_guard guard(mLock);
        for (const auto& item : mItems)
            if (isSuccess(item->state()) || !mPerformingWithUI || item->isSelected())
                kept.push_back(item);
        mItems = kept;
    }
    operationPerformer->perform(kept, weak_from_this());
}

bool OperationsManager::isBusy() const {
    std::lock_guard guard(mLock);
    return std::holds_alternative<OperationInProgress>(mState);
}

OperationsManagerState OperationsManager::state() const {
    std::lock_guard guard(mLock);
    return mState;
}

OperationItems OperationsManager::items() const {
    std::lock_guard guard(mLock);
    return mItems;
}

void OperationsManager::setState(OperationsManagerState state) {
    std::lock_guard guard(mLock);
    mState = state;
}

OperationsViewRepresentation& OperationsManager::viewRepresentation() {
    if (!viewRepresentationModel) {
        viewRepresentationModel = std::make_unique<OperationsViewRepresentation>(mAction);
        refreshViewRepresentation();
    }
    return *viewRepresentationModel;
}

void OperationsManager::refreshViewRepresentation() {
    if (!viewRepresentationModel)
        return;
    viewRepresentationModel->update(
        state(), items(),
        operationPerformer ? operationPerformer->destinationFolder() : std::nullopt);
}

void OperationsManager::onSelectionChanged() {
    if (isBusy())
        return;
    // Items that already went through stay in the sheet; the rest follow the
    // storage again.
    OperationItems done;
    for (const auto& item : items())
        if (isSuccess(item->state()))
            done.push_back(item);
    rebuildItems();
    if (!done.empty()) {
        std::lock_guard guard(mLock);
        mItems.insert(mItems.begin(), done.begin(), done.end());
    }
    refreshViewRepresentation();
}

void OperationsManager::actionTypeMenuControllerDidChangeAction(CollectionAction action) {
    if (isBusy())
        return;
    mAction = action;
    if (viewRepresentationModel)
        viewRepresentationModel->setAction(action);
}

void OperationsManager::operationPerformerProgress(double progress) {
    if (!isBusy())
        return;
    setState(OperationInProgress{progress});
    refreshViewRepresentation();
}

void OperationsManager::operationPerformerDidComplete(
    const OperationItems& items, const std::vector<std::string>& removedPaths,
    const std::vector<std::string>& processedPaths) {
    OperationCompleted completed;
    long warnings = 0;
    std::map<std::string, std::vector<CopiedFileItem>> created;
    for (const auto& item : items) {
        const auto result = item->state();
        if (isSuccess(result)) {
            ++completed.succeeded;
            completed.totalSize += item->size();
            if (warningOf(result))
                ++warnings;
            if (auto copy = item->takeNewCopy())
                created[item->destFolderUrl()].push_back(*copy);
        } else if (isFailed(result)) {
            ++completed.failed;
        }
    }
    setState(completed);
    if (mCollection)
        mCollection->updateOnOperationComplete(created, removedPaths, processedPaths);
    std::weak_ptr<OperationsManager> weak = weak_from_this();
    const bool showResults = completed.failed > 0 || warnings > 0;
    platform::MainQueue::shared().async([weak, showResults] {
        auto self = weak.lock();
        if (!self)
            return;
        self->refreshViewRepresentation();
        if (!self->mCollection)
            return;
        if (!self->mPerformingWithUI && showResults) {
            self->mPerformingWithUI = true;
            self->mCollection->operationModelShowUI(true);
        }
        self->mCollection->operationModelDidFinishWithUI(self->mPerformingWithUI);
    });
}

}  // namespace korvex
