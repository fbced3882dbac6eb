#include "cleanup/collection/SelectedItemsStorage.h"

#include "cleanup/collection/CollectionAlerts.h"
#include "platform/Localization.h"
#include "platform/dispatch/MainQueue.h"
#include "scan/format/PathUtils.h"
#include "scan/tree/FileSystemItem.h"

#include <algorithm>

namespace korvex {

namespace {

bool isFolderParentOf(const std::string& folder, const std::string& path,
                      const std::vector<std::string_view>& pathComps) {
    return Utilmod::isFolderParent(folder, nullptr, path, &pathComps);
}

}  // namespace

SelectedItemsStorage::SelectedItemsStorage(bool saveSelection,
                                           SelectedItemsStorageListener* storageListener,
                                           CollectionAlertPresenter* alerts)
    : saveSelectionToItem(saveSelection), listener(storageListener), mAlerts(alerts) {}

void SelectedItemsStorage::clearListener() {
    std::lock_guard guard(lock);
    listener = nullptr;
    mAlerts = nullptr;
}

bool SelectedItemsStorage::selectItems(const ItemList& toAdd) {
    if (toAdd.empty())
        return false;
    DidAddItems added;
    SelectedItemsStorageListener* told = nullptr;
    std::int64_t count = 0, size = 0;
    {
        std::lock_guard guard(lock);
        for (const auto& node : toAdd) {
            if (!node)
                continue;
            const std::string name(node->relativePath());
            if (mMembers.count(node.get())) {
                showSuppressibleAlert(
                    mAlerts, kAlertFileIsInCollection,
                    platform::fillPlaceholders(kAlertFileIsInCollection.informative, {name}));
                continue;
            }
            if (ItemRef parent = tryFindSelectedParentOfItem(*node)) {
                const std::string parentName(parent->relativePath());
                showSuppressibleAlert(
                    mAlerts, kAlertParentIsInCollection,
                    platform::fillPlaceholders(kAlertParentIsInCollection.informative,
                                               {parentName, name}));
                continue;
            }
            if (node->isDir() && removeChildrenOf(*node))
                showSuppressibleAlert(mAlerts, kAlertRemovedChildrenInCollection,
                                      platform::fillPlaceholders(
                                          kAlertRemovedChildrenInCollection.informative, {name}));
            if (saveSelectionToItem)
                node->setCollected(true);
            items.push_back(node);
            mMembers.insert(node.get());
            added.paths.push_back(node->getFullPath());
        }
        count = static_cast<std::int64_t>(items.size());
        size = totalSizeLocked();
        told = listener;
    }
    mSelectionInfo.set(count, size);
    if (!added.paths.empty() && told)
        told->selectedItemsStorage(*this, added);
    return !added.paths.empty();
}

void SelectedItemsStorage::deselectItem(const ItemList& toRemove) {
    DidRemoveItems removed;
    SelectedItemsStorageListener* told = nullptr;
    std::int64_t count = 0, size = 0;
    {
        std::lock_guard guard(lock);
        for (const auto& node : toRemove) {
            if (!node || !mMembers.count(node.get()))
                continue;
            const auto at = std::find(items.begin(), items.end(), node);
            removed.paths.push_back(node->getFullPath());
            eraseLocked(static_cast<std::size_t>(at - items.begin()));
        }
        count = static_cast<std::int64_t>(items.size());
        size = totalSizeLocked();
        told = listener;
    }
    mSelectionInfo.set(count, size);
    if (!removed.paths.empty() && told)
        told->selectedItemsStorage(*this, removed);
}

bool SelectedItemsStorage::deselectItemsWith(const std::vector<std::string>& paths,
                                             bool applyForChildren) {
    bool changed = false;
    std::int64_t count = 0, size = 0;
    {
        std::lock_guard guard(lock);
        const std::unordered_set<std::string> exact(paths.begin(), paths.end());
        for (std::size_t i = items.size(); i-- > 0;) {
            if (exact.count(items[i]->getFullPath())) {
                eraseLocked(i);
                changed = true;
            }
        }
        if (applyForChildren && !items.empty()) {
            for (const auto& prefix : paths) {
                for (std::size_t i = items.size(); i-- > 0;) {
                    if (items[i]->getFullPath().starts_with(prefix)) {
                        eraseLocked(i);
                        changed = true;
                    }
                }
            }
        }
        count = static_cast<std::int64_t>(items.size());
        size = totalSizeLocked();
    }
    mSelectionInfo.set(count, size);
    return changed;
}

void SelectedItemsStorage::doErase() {
    DidRemoveItems removed;
    SelectedItemsStorageListener* told = nullptr;
    {
        std::lock_guard guard(lock);
        for (const auto& node : items) {
            if (saveSelectionToItem)
                node->setCollected(false);
            removed.paths.push_back(node->getFullPath());
        }
        items.clear();
        mMembers.clear();
        told = listener;
    }
    mSelectionInfo.set(0, 0);
    if (told)
        told->selectedItemsStorage(*this, removed);
}

bool SelectedItemsStorage::containsItemWith(const std::string& path) const {
    std::lock_guard guard(lock);
    const auto comps = pathComponents(path);
    for (const auto& node : items) {
        const std::string nodePath = node->getFullPath();
        if (nodePath == path || isFolderParentOf(nodePath, path, comps))
            return true;
    }
    return false;
}

ItemRef SelectedItemsStorage::tryFindSelectedParentOfItem(const FileSystemItem& item) const {
    const std::string path = item.getFullPath();
    if (path.empty())
        return {};
    std::lock_guard guard(lock);
    return findSelectedParentLocked(path);
}

ItemRef SelectedItemsStorage::findSelectedParentLocked(const std::string& path) const {
    const auto comps = pathComponents(path);
    for (const auto& node : items)
        if (isFolderParentOf(node->getFullPath(), path, comps))
            return node;
    return {};
}

bool SelectedItemsStorage::removeChildrenOf(const FileSystemItem& folder) {
    bool noted = false;
    {
        std::lock_guard guard(lock);
        const std::string folderPath = folder.getFullPath();
        for (std::size_t i = items.size(); i-- > 0;) {
            const std::string path = items[i]->getFullPath();
            if (!isFolderParentOf(folderPath, path, pathComponents(path)))
                continue;
            eraseLocked(i);
            noted = noted || saveSelectionToItem;
        }
    }
    if (!noted)
        return false;
    std::weak_ptr<SelectedItemsStorage> weak = weak_from_this();
    platform::MainQueue::shared().async([weak] {
        auto storage = weak.lock();
        if (!storage)
            return;
        SelectedItemsStorageListener* told = nullptr;
        {
            std::lock_guard guard(storage->lock);
            told = storage->listener;
        }
        if (told)
            told->selectedItemsStorageUpdated(*storage);
    });
    return true;
}

bool SelectedItemsStorage::isItemSelected(const FileSystemItem& item) const {
    std::lock_guard guard(lock);
    return mMembers.count(&item) != 0;
}

void SelectedItemsStorage::setWithSelected(bool selected, const ItemRef& item) {
    if (selected)
        selectItems({item});
    else
        deselectItem({item});
}

ItemList SelectedItemsStorage::getItems() const {
    std::lock_guard guard(lock);
    return items;
}

std::size_t SelectedItemsStorage::count() const {
    std::lock_guard guard(lock);
    return items.size();
}

std::int64_t SelectedItemsStorage::getTotalSize() const {
    std::lock_guard guard(lock);
    return totalSizeLocked();
}

std::int64_t SelectedItemsStorage::totalSizeLocked() const {
    std::int64_t total = 0;
    for (const auto& node : items)
        total += node->gettotalsize();
    return total;
}

void SelectedItemsStorage::eraseLocked(std::size_t index) {
    const ItemRef node = items[index];
    if (saveSelectionToItem)
        node->setCollected(false);
    mMembers.erase(node.get());
    items.erase(items.begin() + static_cast<std::ptrdiff_t>(index));
}

}  // namespace korvex
