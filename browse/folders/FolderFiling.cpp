#include "browse/folders/FolderFiling.h"

namespace korvex {

FolderFiling::FolderFiling(CModel& model, FolderFilingDelegate& delegate)
    : mModel(model), mDelegate(delegate) {}

void FolderFiling::initPrefParameters() {
    if (!mFFoldersController.initFromPreferences()) {
        mFFoldersController.initFolderListByDefault();
    }
    if (!mRecentsController.initFromPreferences()) {
        mRecentsController.initFolderListByDefault();
    }
}

void FolderFiling::SavePrefParameters() const {
    mFFoldersController.saveToPreferences();
    mRecentsController.saveToPreferences();
}

void FolderFiling::doScanFolder(const std::string& path, bool start) {
    bool known =
        mModel.getVolumeItemWithPath(path) != nullptr || mFFoldersController.isFolderFavorite(path);
    if (!known) {
        if (mRecentsController.addFolderToList(path, true) == nullptr) {
            return;
        }
        mRecentsController.saveToPreferences();
        mDelegate.rebuildLeftPanel();
    }
    mDelegate.selectEntryWithPath(path);
    if (start) {
        mDelegate.startScanOfSelection();
    }
}

void FolderFiling::addFoldersAndScanFirst(const std::vector<std::string>& paths) {
    if (paths.empty()) {
        return;
    }
    for (std::size_t i = 1; i < paths.size(); ++i) {
        doScanFolder(paths[i], false);
    }
    doScanFolder(paths.front(), !mDelegate.isScanning());
}

void FolderFiling::addToFavoriteFolderWithPath(const std::string& path) {
    if (mModel.getVolumeItemWithPath(path) != nullptr ||
        mFFoldersController.isFolderFavorite(path)) {
        mDelegate.selectEntryWithPath(path);
        return;
    }
    if (FolderItemRef recent = mRecentsController.getFolderItemByPath(path)) {
        mFFoldersController.addFolderItemToList(recent);
        mRecentsController.removeFolderItemFromList(recent);
        mRecentsController.saveToPreferences();
    } else if (mFFoldersController.addFolderToList(path, true) == nullptr) {
        return;
    }
    mFFoldersController.saveToPreferences();
    mDelegate.rebuildLeftPanel();
    mDelegate.selectEntryWithPath(path);
}

void FolderFiling::removeFolderFromFavoriteWithPath(const std::string& path) {
    FolderItemsController* list = nullptr;
    if (mRecentsController.getFolderItemByPath(path) != nullptr) {
        list = &mRecentsController;
    } else if (mFFoldersController.getFolderItemByPath(path) != nullptr) {
        list = &mFFoldersController;
    }
    if (list == nullptr) {
        return;
    }
    if (mDelegate.scanningPath() == path) {
        mDelegate.stopScanning();
    }
    list->removeFolderFromList(path);
    list->saveToPreferences();
    mDelegate.rebuildLeftPanel();
}

void FolderFiling::setRecentsLimit(unsigned long long limit) {
    const std::vector<FolderItemRef> dropped = mRecentsController.setRecentsLimit(limit);
    if (dropped.empty()) {
        return;
    }
    for (const FolderItemRef& folder : dropped) {
        if (mDelegate.scanningPath() == folder->getFullPath()) {
            mDelegate.stopScanning();
        }
    }
    mRecentsController.saveToPreferences();
    mDelegate.rebuildLeftPanel();
}

bool FolderFiling::updateAllAfterRemovingFiles(const std::vector<std::string>& paths,
                                               ItemList& resItems) {
    bool changed = false;
    for (const auto& volume : mModel.getVolumesInfo()) {
        ItemList cuts = volume->updateRemovingItemsByPaths(paths);
        changed = changed || !cuts.empty();
        resItems.insert(resItems.end(), cuts.begin(), cuts.end());
    }
    for (FolderItemsController* list :
         {static_cast<FolderItemsController*>(&mRecentsController),
          static_cast<FolderItemsController*>(&mFFoldersController)}) {
        bool listChanged = false;
        changed = list->updateAllAfterRemovingFiles(paths, resItems, listChanged) || changed;
        if (listChanged) {
            list->saveToPreferences();
        }
    }
    if (changed) {
        mDelegate.rebuildLeftPanel();
    }
    return changed;
}

bool FolderFiling::updateAllAfterCreatingFiles(const std::vector<CopiedFileItem>& items,
                                               const std::string& toFolder, ItemList& resItems) {
    bool changed = false;
    for (const auto& volume : mModel.getVolumesInfo()) {
        changed = volume->addFileItems(items, toFolder, resItems) || changed;
    }
    changed = mRecentsController.updateAllAfterCreatingFiles(items, toFolder, resItems) || changed;
    changed = mFFoldersController.updateAllAfterCreatingFiles(items, toFolder, resItems) || changed;
    if (changed) {
        mDelegate.rebuildLeftPanel();
    }
    return changed;
}

}  // namespace korvex
