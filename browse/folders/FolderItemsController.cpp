#include "browse/folders/FolderItemsController.h"

#include "app/settings/Settings.h"
#include "platform/fs/FileDates.h"
#include "platform/mounts/MountTable.h"
#include "scan/format/PathUtils.h"
#include "scan/format/PathsGenerator.h"

#include <algorithm>

namespace korvex {

FolderItemRef FolderItemsController::makeFolderItem(const std::string& path) {
    if (path.empty() || !platform::volumeFacts(path)) {
        return nullptr;
    }
    auto item = std::make_shared<FolderItem>(path, platform::displayNameAtPath(path));
    item->reinitFilesList();
    return item;
}

bool FolderItemsController::initListFromPreferences(const std::string& foldersKey) {
    nlohmann::json stored = Settings::getArrayValueForKey(foldersKey, nullptr);
    if (!stored.is_array()) {
        return false;
    }
    for (const nlohmann::json& path : stored) {
        if (path.is_string()) {
            FolderItemsController::addFolderToList(path.get<std::string>(), false);
        }
    }
    return true;
}

bool FolderItemsController::saveListToPreferences(const std::string& foldersKey) const {
    nlohmann::json paths = nlohmann::json::array();
    for (const FolderItemRef& item : mFoldersList) {
        paths.push_back(item->getFullPath());
    }
    Settings::saveArrayValue(paths, foldersKey);
    return true;
}

FolderItemRef FolderItemsController::addFolderToList(const std::string& path, bool withCheck) {
    if (withCheck && getFolderItemByPath(path) != nullptr) {
        return nullptr;
    }
    FolderItemRef item = makeFolderItem(path);
    if (item != nullptr) {
        mFoldersList.push_back(item);
    }
    return item;
}

FolderItemRef FolderItemsController::getFolderItemByPath(const std::string& path) const {
    auto it = std::find_if(mFoldersList.begin(), mFoldersList.end(),
                           [&](const FolderItemRef& item) { return item->getFullPath() == path; });
    return it != mFoldersList.end() ? *it : nullptr;
}

void FolderItemsController::removeFolderFromList(const std::string& path) {
    removeFolderItemFromList(getFolderItemByPath(path));
}

void FolderItemsController::removeFolderItemFromList(const FolderItemRef& item) {
    auto it = std::find(mFoldersList.begin(), mFoldersList.end(), item);
    if (it != mFoldersList.end()) {
        mFoldersList.erase(it);
    }
}

FolderItemRef FolderItemsController::getFolderItemByIndex(std::size_t index) const {
    return index < mFoldersList.size() ? mFoldersList[index] : nullptr;
}

std::optional<std::size_t> FolderItemsController::getIndexOfItem(const FolderItemRef& item) const {
    auto it = std::find(mFoldersList.begin(), mFoldersList.end(), item);
    if (it == mFoldersList.end()) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(it - mFoldersList.begin());
}

bool FolderItemsController::updateAllAfterRemovingFiles(const std::vector<std::string>& paths,
                                                        ItemList& resItems, bool& listChanged) {
    listChanged = false;
    bool changed = false;
    for (auto it = mFoldersList.begin(); it != mFoldersList.end();) {
        const std::string& own = (*it)->getFullPath();
        bool gone = std::any_of(paths.begin(), paths.end(), [&](const std::string& removed) {
            return own == removed || isInFolder(own, removed);
        });
        if (gone) {
            it = mFoldersList.erase(it);
            listChanged = changed = true;
            continue;
        }
        ItemList cuts = (*it)->updateRemovingItemsByPaths(paths);
        changed = changed || !cuts.empty();
        resItems.insert(resItems.end(), cuts.begin(), cuts.end());
        ++it;
    }
    return changed;
}

bool FolderItemsController::updateAllAfterCreatingFiles(const std::vector<CopiedFileItem>& items,
                                                        const std::string& toFolder,
                                                        ItemList& resItems) {
    bool changed = false;
    for (const FolderItemRef& item : mFoldersList) {
        changed = item->addFileItems(items, toFolder, resItems) || changed;
    }
    return changed;
}

void FolderItemsController::updateAddedItemsToCollection(const std::vector<std::string>& paths) {
    for (const FolderItemRef& item : mFoldersList) {
        item->updateAddedItemsToCollection(paths);
    }
}

void FolderItemsController::updateRemovedItemsInCollection(const std::vector<std::string>& paths) {
    for (const FolderItemRef& item : mFoldersList) {
        item->updateRemovedItemsInCollection(paths);
    }
}

// ---- Favourites

void FFoldersController::initFolderListByDefault() {
    cleanFoldersLit();
    addFolderToList(PathsGenerator::GetInstance().getHomeDirectory(), false);
}

bool FFoldersController::initFromPreferences() {
    if (!initListFromPreferences(kKey)) {
        return false;
    }
    addFolderToList(PathsGenerator::GetInstance().getHomeDirectory(), true);
    return true;
}

// ---- Recents

std::size_t RecentsController::limitFor(unsigned long long maximumRecentDocumentCount) {
    return static_cast<std::size_t>(
        std::clamp<unsigned long long>(maximumRecentDocumentCount, kFewestRecents, kMostRecents));
}

std::size_t RecentsController::storedLimit() {
    return limitFor(Settings::getUnsignedLongLongValueForKey(kMaximumKey, kMostRecents));
}

RecentsController::RecentsController() : m_nRecentsLimit(storedLimit()) {}

std::vector<FolderItemRef> RecentsController::setRecentsLimit(unsigned long long limit) {
    m_nRecentsLimit = limitFor(limit);
    Settings::saveUnsignedLongLongValue(m_nRecentsLimit, kMaximumKey);
    std::vector<FolderItemRef> dropped;
    while (mFoldersList.size() > m_nRecentsLimit) {
        dropped.push_back(mFoldersList.front());
        mFoldersList.erase(mFoldersList.begin());
    }
    return dropped;
}

void RecentsController::initFolderListByDefault() {
    cleanFoldersLit();
    const PathsGenerator& paths = PathsGenerator::GetInstance();
    for (const std::string& folder :
         {paths.buildUserDesktopDirectory(), paths.buildUserPicturesDirectory(),
          paths.buildUserDocumentsDirectory()}) {
        FolderItemsController::addFolderToList(folder, false);
    }
}

bool RecentsController::initFromPreferences() {
    return initListFromPreferences(kKey);
}

FolderItemRef RecentsController::addFolderToList(const std::string& path, bool withCheck) {
    if (!withCheck) {
        return FolderItemsController::addFolderToList(path, false);
    }
    removeFolderFromList(path);
    FolderItemRef item = makeFolderItem(path);
    if (item == nullptr) {
        return nullptr;
    }
    while (m_nRecentsLimit >= 1 && mFoldersList.size() >= m_nRecentsLimit) {
        mFoldersList.erase(mFoldersList.begin());
    }
    mFoldersList.push_back(item);
    return item;
}

}  // namespace korvex
