#pragma once

#include "cleanup/collection/ActionTypeMenuController.h"
#include "cleanup/collection/CollectionTreeTarget.h"
#include "cleanup/collection/CollectionViews.h"
#include "cleanup/collection/SelectedItemsStorage.h"
#include "cleanup/operations/OperationsManager.h"
#include "diagram/DiagramCollectionActions.h"
#include "platform/dispatch/NotificationCenter.h"

#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace korvex {

class PurgeableSpaceCleaner;

// The user's removal collection ("Selected list") and the operations run on
// it or on an explicit list of nodes: adding under the nesting rules, the
// main button, the menu commands, and the corrections of the tree, the
// diagram and the list after files were removed, moved or copied.
class DoCollectionController : public SelectedItemsStorageListener,
                               public OperationsCollection,
                               public DiagramCollectionActions {
  public:
    DoCollectionController(CollectionTreeTarget& tree, CollectionViews& views,
                           OperationPerformerBuilder builder, std::string trashFolder);
    ~DoCollectionController() override;

    // ---- Adding and removing nodes
    bool addItemsToCollection(const ItemList& items) override;
    void removeFromCollection(const ItemList& items);
    void removeFromCollectionItem(const ItemRef& item) override;
    void setSelected(bool selected, const ItemRef& item);
    bool isParentOfItemInCollection(const FileSystemItem& item, ItemRef* resParent) const;
    void removeChildrenOfFolderItem(const FileSystemItem& folder);
    bool isFilePathInCollection(const std::string& path) const;
    // Paths dropped on the collection; those without an addable node are skipped.
    bool addItemsByFilePaths(const std::vector<std::string>& paths);
    bool getPathsArray(std::vector<std::string>& paths) const;
    void doEraseCurrentStorage();
    SelectedItemsStorage& mainStorage() { return *mMainStorage; }

    // ---- Actions
    void onMainActionButtonPressed();
    void doRemoveFiles();
    void doMoveFiles();
    void doCopyFiles();
    void doDeleteItemsToTrash(const ItemList& items, bool showReviewWindow = true);
    void doMoveFilesFromArray(const ItemList& items);
    void doCopyFilesToFolderForItems(const ItemList& items);
    void perfromRemoveWithItems(const ItemList& items) override { doDeleteItemsToTrash(items); }
    void performMoveToFolderWithItems(const ItemList& items) override {
        doMoveFilesFromArray(items);
    }
    void performCopyToFolderWithItems(const ItemList& items) override {
        doCopyFilesToFolderForItems(items);
    }
    // Menu codes 3 copy, 4 move, 5 remove, 6 clear the list.
    bool canPerformMainMenuAction(int code) const;
    void performMainMenuAction(int code);
    bool isProcessingFiles() const override;
    bool isReviewWindowVisible() const { return mViews.isReviewSheetVisible(); }
    ActionTypeMenuController& actionTypeMenuController() { return mActionChooser; }
    const std::shared_ptr<OperationsManager>& operationsManager() const {
        return mOperationsManager;
    }

    // ---- After operations: the first two on the main thread, the others
    // from any thread (they do their work on the main thread).
    void cleanRemovedFilesFromCollection(const std::vector<std::string>& paths);
    bool updateAllAfterRemovingFiles(const std::vector<std::string>& paths);
    void processRemovedPaths(const std::vector<std::string>& paths) override;
    bool isFileWasRemovedAfterLastOperationAtPath(const std::string& path) const;

    // ---- Purgeable space
    void setPurgeableSpaceCleaner(PurgeableSpaceCleaner* cleaner) { psCleaner = cleaner; }
    void purgeableSpaceCleanerStateChanged(bool recovering);
    void configureFreeingUpPurgeableSpaceLabelWith(DoCollectionCurrentOperationState state);

    // ---- The views
    // The scan started or ended, or the diagram's root changed.
    void updateState();
    void setIsDragging(bool dragging) override;
    const CollectionViewState& viewState() const { return mViewState; }

    // ---- SelectedItemsStorageListener
    void selectedItemsStorage(SelectedItemsStorage& storage, const DidAddItems& added) override;
    void selectedItemsStorage(SelectedItemsStorage& storage,
                              const DidRemoveItems& removed) override;
    void selectedItemsStorageUpdated(SelectedItemsStorage& storage) override;

    // ---- OperationsCollection
    void askDestinationFolderForAction(
        CollectionAction action, std::function<void(std::optional<std::string>)> answer) override;
    void operationModelDidStartAction(CollectionAction action) override;
    void operationModelShowUI(bool afterGotErrorInFastMode) override;
    void operationModelDidFinishWithUI(bool withUI) override;
    void updateOnOperationComplete(
        const std::map<std::string, std::vector<CopiedFileItem>>& created,
        const std::vector<std::string>& removedPaths,
        const std::vector<std::string>& processedPaths) override;

  private:
    void performAction(CollectionAction action,
                       const std::shared_ptr<SelectedItemsStorage>& storage, bool withUI);
    void performAction(CollectionAction action, const ItemList& items, bool withUI);
    void menuCommand(CollectionAction action);
    void askFolder(CollectionAction action, std::function<void(std::optional<std::string>)> answer);
    void releaseOperation();
    void allowRemovingHiddenFilesChanged();
    void setOperationState(DoCollectionCurrentOperationState state);
    SelectedItemsStorage& currentStorage() const;
    bool applyRemovedPaths(const std::vector<std::string>& paths);
    bool applyCreatedFiles(const std::map<std::string, std::vector<CopiedFileItem>>& created);

    CollectionTreeTarget& mTree;
    CollectionViews& mViews;
    OperationPerformerBuilder mBuilder;
    const std::string mTrashFolder;
    std::shared_ptr<SelectedItemsStorage> mMainStorage;
    std::shared_ptr<SelectedItemsStorage> tempStorage;
    std::shared_ptr<OperationsManager> mOperationsManager;
    std::set<std::string> removedPathsSet;
    mutable std::mutex mRemovedLock;
    ActionTypeMenuController mActionChooser;
    PurgeableSpaceCleaner* psCleaner = nullptr;
    bool isDragging = false;
    CollectionViewState mViewState;
    platform::NotificationCenter::Token mHiddenFilesObserver;
    // Posted blocks check it: the controller may be gone when they run.
    std::shared_ptr<bool> mAlive = std::make_shared<bool>(true);
};

}  // namespace korvex
