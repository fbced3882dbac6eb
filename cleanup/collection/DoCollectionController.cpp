#include "cleanup/collection/DoCollectionController.h"

#include "app/settings/Settings.h"
#include "browse/contents/SelectionAvailability.h"
#include "cleanup/collection/CollectionAlerts.h"
#include "cleanup/purgeable/PurgeableSpaceCleaner.h"
#include "platform/Localization.h"
#include "platform/dispatch/MainQueue.h"
#include "scan/tree/FolderSystemItem.h"

namespace korvex {

namespace {

const char* cannotPerformMessage(CollectionAction action) {
    switch (action) {
        case CollectionAction::move:
            return "Cannot move the selected files";
        case CollectionAction::copy:
            return "Cannot copy the selected files";
        case CollectionAction::remove:
            break;
    }
    return "Cannot remove the selected files";
}

DoCollectionCurrentOperationState operationStateFor(CollectionAction action) {
    switch (action) {
        case CollectionAction::remove:
            return DoCollectionCurrentOperationState::removing;
        case CollectionAction::move:
            return DoCollectionCurrentOperationState::moving;
        case CollectionAction::copy:
            return DoCollectionCurrentOperationState::copying;
    }
    return DoCollectionCurrentOperationState::none;
}

// Runs `block` on the main thread: at once there, else posted, and only
// while the controller lives.
void onMain(const std::weak_ptr<bool>& alive, std::function<void()> block) {
    if (platform::isMainThread()) {
        block();
        return;
    }
    platform::MainQueue::shared().async([alive, block = std::move(block)] {
        if (alive.lock())
            block();
    });
}

}  // namespace

DoCollectionController::DoCollectionController(CollectionTreeTarget& tree, CollectionViews& views,
                                               OperationPerformerBuilder builder,
                                               std::string trashFolder)
    : mTree(tree),
      mViews(views),
      mBuilder(std::move(builder)),
      mTrashFolder(std::move(trashFolder)),
      mMainStorage(std::make_shared<SelectedItemsStorage>(true, this, &views)) {
    mActionChooser.addListener([this](CollectionAction action) {
        if (mOperationsManager) {
            mOperationsManager->actionTypeMenuControllerDidChangeAction(action);
        } else if (mMainStorage->count() > 0 && !mTree.isScanning()) {
            performAction(action, mMainStorage, true);
        }
        updateState();
    });
    mHiddenFilesObserver = platform::NotificationCenter::defaultCenter().addObserver(
        Settings::kAllowRemovingHiddenFilesChanged,
        [this](const std::any&) { allowRemovingHiddenFilesChanged(); });
    updateState();
}

DoCollectionController::~DoCollectionController() {
    mMainStorage->clearListener();
    if (tempStorage)
        tempStorage->clearListener();
    if (mOperationsManager)
        mOperationsManager->clearCollection();
}

// ---- Adding and removing

bool DoCollectionController::addItemsToCollection(const ItemList& items) {
    return mMainStorage->selectItems(items);
}

void DoCollectionController::removeFromCollection(const ItemList& items) {
    mMainStorage->deselectItem(items);
}

void DoCollectionController::removeFromCollectionItem(const ItemRef& item) {
    mMainStorage->deselectItem({item});
}

void DoCollectionController::setSelected(bool selected, const ItemRef& item) {
    mMainStorage->setWithSelected(selected, item);
}

bool DoCollectionController::isParentOfItemInCollection(const FileSystemItem& item,
                                                        ItemRef* resParent) const {
    ItemRef parent = mMainStorage->tryFindSelectedParentOfItem(item);
    if (resParent)
        *resParent = parent;
    return parent != nullptr;
}

void DoCollectionController::removeChildrenOfFolderItem(const FileSystemItem& folder) {
    mMainStorage->removeChildrenOf(folder);
    if (tempStorage)
        tempStorage->removeChildrenOf(folder);
}

bool DoCollectionController::isFilePathInCollection(const std::string& path) const {
    return mMainStorage->containsItemWith(path) ||
           (tempStorage && tempStorage->containsItemWith(path));
}

bool DoCollectionController::addItemsByFilePaths(const std::vector<std::string>& paths) {
    ItemList nodes;
    const bool hiddenAllowed = Settings::allowRemovingHiddenFiles();
    for (const auto& path : paths) {
        ItemRef node = mTree.getItemByFilePath(path);
        if (!node || node->isVol() || node->isTopCollected() || !isItemSelectable(*node) ||
            (!hiddenAllowed && node->isTopHiddenFlag()))
            continue;
        nodes.push_back(node);
    }
    return !nodes.empty() && addItemsToCollection(nodes);
}

bool DoCollectionController::getPathsArray(std::vector<std::string>& paths) const {
    for (const auto& node : mMainStorage->getItems())
        paths.push_back(node->getFullPath());
    return !paths.empty();
}

SelectedItemsStorage& DoCollectionController::currentStorage() const {
    return tempStorage ? *tempStorage : *mMainStorage;
}

void DoCollectionController::doEraseCurrentStorage() {
    currentStorage().doErase();
    if (mOperationsManager)
        mOperationsManager->onSelectionChanged();
}

// ---- Actions

void DoCollectionController::onMainActionButtonPressed() {
    if (mTree.isScanning()) {
        mTree.stopScan();
    } else if (mTree.rootNeedsScan()) {
        mTree.startScan();
    } else {
        performAction(mActionChooser.action(), mMainStorage, true);
    }
}

void DoCollectionController::doRemoveFiles() {
    menuCommand(CollectionAction::remove);
}
void DoCollectionController::doMoveFiles() {
    menuCommand(CollectionAction::move);
}
void DoCollectionController::doCopyFiles() {
    menuCommand(CollectionAction::copy);
}

void DoCollectionController::menuCommand(CollectionAction action) {
    const char* message = cannotPerformMessage(action);
    if (isProcessingFiles()) {
        mViews.showCollectionAlert(
            message,
            "File processing is not completed.\nWait until the process is completed and try again.",
            false, [](bool) {});
        return;
    }
    if (mTree.isScanning()) {
        if (!Settings::getBoolValueForKey(kSuppressProcessingAlertKey, false)) {
            mViews.showCollectionAlert(message,
                                       "The scanning is not completed.\nWait until the process is "
                                       "completed and try again.",
                                       true, [](bool suppressed) {
                                           if (suppressed)
                                               Settings::saveBoolValue(true,
                                                                       kSuppressProcessingAlertKey);
                                       });
        }
        return;
    }
    if (mViews.isReviewSheetVisible()) {
        mActionChooser.changeActionTypeTo(action);
        if (mOperationsManager)
            mOperationsManager->actionTypeMenuControllerDidChangeAction(action);
        mViews.startReviewSheetOperation();
        return;
    }
    performAction(action, mMainStorage, true);
}

void DoCollectionController::doDeleteItemsToTrash(const ItemList& items, bool showReviewWindow) {
    performAction(CollectionAction::remove, items, showReviewWindow);
}

void DoCollectionController::doMoveFilesFromArray(const ItemList& items) {
    performAction(CollectionAction::move, items, false);
}

void DoCollectionController::doCopyFilesToFolderForItems(const ItemList& items) {
    performAction(CollectionAction::copy, items, false);
}

void DoCollectionController::performAction(CollectionAction action,
                                           const std::shared_ptr<SelectedItemsStorage>& storage,
                                           bool withUI) {
    if (mOperationsManager)
        return;
    if (std::optional<std::string> refusal = mTree.refusalForItems(storage->getItems())) {
        mViews.showCollectionAlert(cannotPerformMessage(action), *refusal, false, [](bool) {});
        return;
    }
    {
        std::lock_guard guard(mRemovedLock);
        removedPathsSet.clear();
    }
    mOperationsManager = std::make_shared<OperationsManager>(storage, action, this, mBuilder);
    updateState();
    mOperationsManager->performOpeationsWithUI(withUI);
}

void DoCollectionController::performAction(CollectionAction action, const ItemList& items,
                                           bool withUI) {
    if (mOperationsManager)
        return;
    auto temp = std::make_shared<SelectedItemsStorage>(false, nullptr);
    if (!temp->selectItems(items))
        return;
    tempStorage = temp;
    performAction(action, temp, withUI);
}

bool DoCollectionController::canPerformMainMenuAction(int code) const {
    switch (code) {
        case 3:
        case 4:
        case 5:
            return mMainStorage->count() > 0 && !mTree.isScanning() && !isProcessingFiles();
        case 6:
            return currentStorage().count() > 0;
        default:
            return false;
    }
}

void DoCollectionController::performMainMenuAction(int code) {
    switch (code) {
        case 3:
            doCopyFiles();
            break;
        case 4:
            doMoveFiles();
            break;
        case 5:
            doRemoveFiles();
            break;
        case 6:
            doEraseCurrentStorage();
            break;
        default:
            break;
    }
}

bool DoCollectionController::isProcessingFiles() const {
    return mOperationsManager && mOperationsManager->isBusy();
}

// ---- OperationsCollection

void DoCollectionController::askDestinationFolderForAction(
    CollectionAction action, std::function<void(std::optional<std::string>)> answer) {
    if (action == CollectionAction::remove) {
        answer(mTrashFolder);
        return;
    }
    askFolder(action, std::move(answer));
}

void DoCollectionController::askFolder(CollectionAction action,
                                       std::function<void(std::optional<std::string>)> answer) {
    std::weak_ptr<bool> alive = mAlive;
    mViews.chooseDestinationFolder(
        action, [this, alive, action, answer](std::optional<std::string> folder) {
            if (!alive.lock())
                return;
            if (!folder || !isFilePathInCollection(*folder)) {
                answer(folder);
                return;
            }
            mViews.showFolderIsCollectedAlert(action, *folder,
                                              [this, alive, action, answer](bool chooseAnother) {
                                                  if (!alive.lock())
                                                      return;
                                                  if (chooseAnother)
                                                      askFolder(action, answer);
                                                  else
                                                      answer(std::nullopt);
                                              });
        });
}

void DoCollectionController::operationModelDidStartAction(CollectionAction action) {
    mViewState.lastResult.clear();
    setOperationState(operationStateFor(action));
}

void DoCollectionController::operationModelShowUI(bool afterGotErrorInFastMode) {
    updateState();
    if (afterGotErrorInFastMode && mMainStorage->count() > 0)
        mMainStorage->doErase();
    if (!mOperationsManager || mViews.isReviewSheetVisible())
        return;
    std::weak_ptr<bool> alive = mAlive;
    mViews.showReviewSheet(mOperationsManager, mActionChooser, [this, alive] {
        if (alive.lock())
            releaseOperation();
    });
}

void DoCollectionController::operationModelDidFinishWithUI(bool withUI) {
    if (!withUI) {
        // No sheet tells the result: the status line does.
        if (mOperationsManager)
            mViewState.lastResult = mOperationsManager->viewRepresentation().congratulationsText();
        releaseOperation();
    }
    setOperationState(DoCollectionCurrentOperationState::none);
}

void DoCollectionController::releaseOperation() {
    if (tempStorage)
        tempStorage->clearListener();
    tempStorage.reset();
    mOperationsManager.reset();
    setOperationState(DoCollectionCurrentOperationState::none);
    updateState();
}

// ---- After operations

void DoCollectionController::cleanRemovedFilesFromCollection(
    const std::vector<std::string>& paths) {
    {
        std::lock_guard guard(mRemovedLock);
        removedPathsSet.insert(paths.begin(), paths.end());
    }
    bool changed = false;
    if (tempStorage)
        changed = tempStorage->deselectItemsWith(paths, true);
    changed = mMainStorage->deselectItemsWith(paths, true) || changed;
    if (changed) {
        mTree.updateRemovedItemsInCollection(paths);
        updateState();
        mTree.redrawDiagram();
    }
}

bool DoCollectionController::updateAllAfterRemovingFiles(const std::vector<std::string>& paths) {
    return !paths.empty() && applyRemovedPaths(paths);
}

bool DoCollectionController::applyRemovedPaths(const std::vector<std::string>& paths) {
    const std::set<std::string> removed(paths.begin(), paths.end());
    ItemRef root = mTree.rootItem();
    bool rootRemoved = false;
    if (root) {
        FileSystemItem* top = root->getTopParent();
        rootRemoved = removed.count(root->getFullPath()) != 0;
        FolderSystemItem* newRoot = nullptr;
        if (!rootRemoved && root->isDir()) {
            for (FileSystemItem* node = root.get(); node && node != top; node = node->getParent())
                if (removed.count(node->getFullPath()))
                    newRoot = node->getParent();
        }
        if (newRoot) {
            mTree.setRoot(ItemRef(newRoot));
            rootRemoved = false;
        }
    }
    ItemList affected;
    const bool changed = mTree.updateAllAfterRemovingFiles(paths, affected);
    if (changed && !rootRemoved)
        mTree.updateDiagramAfterRemovingItems(affected);
    return changed;
}

bool DoCollectionController::applyCreatedFiles(
    const std::map<std::string, std::vector<CopiedFileItem>>& created) {
    bool changed = false;
    for (const auto& [folder, items] : created) {
        ItemList affected;
        if (mTree.updateAllAfterCreatingFiles(items, folder, affected)) {
            mTree.updateDiagramAfterAddingItems(affected);
            changed = true;
        }
    }
    return changed;
}

void DoCollectionController::processRemovedPaths(const std::vector<std::string>& paths) {
    onMain(mAlive, [this, paths] {
        cleanRemovedFilesFromCollection(paths);
        if (updateAllAfterRemovingFiles(paths))
            mTree.startCutAnimation();
    });
}

void DoCollectionController::updateOnOperationComplete(
    const std::map<std::string, std::vector<CopiedFileItem>>& created,
    const std::vector<std::string>& removedPaths, const std::vector<std::string>& processedPaths) {
    onMain(mAlive, [this, created, removedPaths, processedPaths] {
        cleanRemovedFilesFromCollection(processedPaths);
        // Arrivals first: a moved folder's copy takes its children from the
        // source node, which its removal empties.
        bool changed = applyCreatedFiles(created);
        changed = updateAllAfterRemovingFiles(removedPaths) || changed;
        if (changed)
            mTree.startCutAnimation();
        mTree.reloadLists();
    });
}

bool DoCollectionController::isFileWasRemovedAfterLastOperationAtPath(
    const std::string& path) const {
    std::lock_guard guard(mRemovedLock);
    return removedPathsSet.count(path) != 0;
}

// ---- Purgeable space

void DoCollectionController::purgeableSpaceCleanerStateChanged(bool recovering) {
    configureFreeingUpPurgeableSpaceLabelWith(
        recovering ? DoCollectionCurrentOperationState::freeingPurgeableSpace
                   : DoCollectionCurrentOperationState::none);
}

void DoCollectionController::configureFreeingUpPurgeableSpaceLabelWith(
    DoCollectionCurrentOperationState state) {
    const int oldState = static_cast<int>(mViewState.operationState);
    setOperationState(state);
    if (psCleaner && PurgeableSpaceCleaner::needUpdatePurgeableSpaceWithOldState(
                         oldState, static_cast<int>(state))) {
        if (ItemRef root = mTree.rootItem())
            psCleaner->updateValueFor(root.get());
    }
}

// ---- Hidden items

void DoCollectionController::allowRemovingHiddenFilesChanged() {
    if (Settings::allowRemovingHiddenFiles()) {
        // Hidden rows may be ticked from now on.
        mTree.refreshListMarks();
        return;
    }
    auto hiddenOf = [](const SelectedItemsStorage& storage) {
        ItemList hidden;
        for (const auto& node : storage.getItems())
            if (node->isTopHiddenFlag())
                hidden.push_back(node);
        return hidden;
    };
    ItemList hidden = hiddenOf(*mMainStorage);
    if (!hidden.empty()) {
        mMainStorage->deselectItem(hidden);
    } else if (tempStorage) {
        hidden = hiddenOf(*tempStorage);
        tempStorage->deselectItem(hidden);
    }
    if (!hidden.empty() && mOperationsManager)
        mOperationsManager->onSelectionChanged();
    else
        mTree.reloadLists();
}

// ---- Storage events

void DoCollectionController::selectedItemsStorage(SelectedItemsStorage& storage,
                                                  const DidAddItems& added) {
    if (&storage != mMainStorage.get())
        return;
    onMain(mAlive, [this, added] {
        mTree.updateAddedItemsToCollection(added.paths);
        updateState();
        mTree.refreshListMarks();
        mTree.redrawDiagram();
    });
}

void DoCollectionController::selectedItemsStorage(SelectedItemsStorage& storage,
                                                  const DidRemoveItems& removed) {
    if (&storage != mMainStorage.get())
        return;
    onMain(mAlive, [this, removed] {
        mTree.updateRemovedItemsInCollection(removed.paths);
        updateState();
        mTree.redrawDiagram();
        if (!removed.paths.empty())
            mTree.refreshListMarks();
    });
}

void DoCollectionController::selectedItemsStorageUpdated(SelectedItemsStorage& storage) {
    if (&storage != mMainStorage.get())
        return;
    updateState();
    mTree.redrawDiagram();
}

// ---- Views

void DoCollectionController::setIsDragging(bool dragging) {
    isDragging = dragging;
    updateState();
}

void DoCollectionController::setOperationState(DoCollectionCurrentOperationState state) {
    mViewState.operationState = state;
    mViews.collectionViewStateChanged(mViewState);
}

void DoCollectionController::updateState() {
    CollectionViewState state;
    state.operationState = mViewState.operationState;
    state.lastResult = mViewState.lastResult;
    state.count = static_cast<std::int64_t>(mMainStorage->count());
    state.size = mMainStorage->getTotalSize();
    const bool hasItems = state.count > 0;
    state.summaryVisible = hasItems && !isDragging;
    state.dropAreaVisible = isDragging;
    if (mTree.isScanning()) {
        state.buttonScanState = 1;
        state.buttonTitle = "Stop Scanning";
    } else if (mTree.rootNeedsScan()) {
        state.buttonScanState = 0;
        state.buttonTitle = "Start Scanning";
    } else {
        state.buttonScanState = 2;
        state.buttonTitle = mActionChooser.reviewButtonTitle();
        state.chooserVisible = true;
        const bool free = !mOperationsManager || mOperationsManager->performingWithUI();
        state.buttonEnabled = hasItems && free;
        state.chooserEnabled = state.buttonEnabled;
    }
    mViewState = state;
    mViews.collectionViewStateChanged(mViewState);
}

}  // namespace korvex
