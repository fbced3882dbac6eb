#pragma once

#include "cleanup/collection/SelectedItemsStorageListener.h"
#include "cleanup/collection/SelectionInfoState.h"
#include "cleanup/operations/CollectedItemsSource.h"
#include "scan/tree/ItemRef.h"

#include <memory>
#include <mutex>
#include <string>
#include <unordered_set>
#include <vector>

namespace korvex {

class CollectionAlertPresenter;

// A thread-safe set of collected nodes that never holds a node twice, nor a
// node together with one of its ancestors. The main storage also keeps the
// nodes' collected marks in step; a temporary one (for an action on an
// explicit list) leaves the tree alone. Nodes keep the order they came in.
class SelectedItemsStorage : public CollectedItemsSource,
                             public std::enable_shared_from_this<SelectedItemsStorage> {
  public:
    SelectedItemsStorage(bool saveSelectionToItem, SelectedItemsStorageListener* listener,
                         CollectionAlertPresenter* alerts = nullptr);

    // True when at least one node was added.
    bool selectItems(const ItemList& items);
    void deselectItem(const ItemList& items);
    // By full path; with `applyForChildren` also every node whose path starts
    // with one of them as a string. The listener is not told.
    bool deselectItemsWith(const std::vector<std::string>& paths, bool applyForChildren);
    void doErase();
    // Some collected node is the path or a folder-parent of it.
    bool containsItemWith(const std::string& path) const;
    ItemRef tryFindSelectedParentOfItem(const FileSystemItem& item) const;
    bool removeChildrenOf(const FileSystemItem& folder);
    bool isItemSelected(const FileSystemItem& item) const;
    void setWithSelected(bool selected, const ItemRef& item);

    ItemList getItems() const override;
    std::size_t count() const;
    std::int64_t getTotalSize() const;
    SelectionInfoState& selectionInfo() { return mSelectionInfo; }
    bool savesSelectionToItem() const { return saveSelectionToItem; }
    // The controller goes before its storages' last users.
    void clearListener();

  private:
    ItemRef findSelectedParentLocked(const std::string& path) const;
    // Takes the node out of both containers and clears its mark when asked to.
    void eraseLocked(std::size_t index);
    std::int64_t totalSizeLocked() const;

    SelectionInfoState mSelectionInfo;
    mutable std::recursive_mutex lock;
    ItemList items;
    std::unordered_set<const FileSystemItem*> mMembers;
    const bool saveSelectionToItem;
    SelectedItemsStorageListener* listener;
    CollectionAlertPresenter* mAlerts;
};

}  // namespace korvex
