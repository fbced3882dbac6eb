#include "app/settings/StateSaverManager.h"

#include "scan/tree/FolderSystemItem.h"

namespace korvex {

std::string StateSaverManager::targetPathOf(FileSystemItem& item) {
    return item.getTopParent()->fullPath();
}

VolumeState* StateSaverManager::getStateObjectForRoot(FileSystemItem* item) {
    if (item == nullptr) {
        return nullptr;
    }
    std::string target = targetPathOf(*item);
    auto& state = volumesRootCache[target];
    if (state == nullptr) {
        state = std::make_unique<VolumeState>(target);
    }
    return state.get();
}

void StateSaverManager::saveRoot(FileSystemItem* item) {
    if (VolumeState* state = getStateObjectForRoot(item)) {
        state->rootPath = item->fullPath();
    }
}

void StateSaverManager::resetForRoot(FileSystemItem* item) {
    if (item == nullptr) {
        return;
    }
    std::string target = targetPathOf(*item);
    auto it = volumesRootCache.find(target);
    if (it == volumesRootCache.end()) {
        return;
    }
    it->second->rootPath = target;
    it->second->saveWithDigramRoot(target, std::nullopt, {});
}

FolderSystemItem* StateSaverManager::restoreRootForTopLevelItem(const TopLevelItem& item) {
    const FolderRef& scanned = item.scannedRoot();
    if (scanned == nullptr) {
        return nullptr;
    }
    auto it = volumesRootCache.find(scanned->fullPath());
    if (it == volumesRootCache.end()) {
        return scanned.get();
    }
    // A plain lookup: the folder lookup would make missing folders again.
    ItemRef folder = scanned->getItemByFilePath(it->second->rootPath);
    if (folder == nullptr || !folder->isDirectory()) {
        return scanned.get();
    }
    return static_cast<FolderSystemItem*>(folder.get());
}

}  // namespace korvex
