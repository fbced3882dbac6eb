#pragma once

#include "scan/tree/CopiedFileItem.h"
#include "scan/tree/ItemRef.h"

#include <optional>
#include <string>
#include <vector>

namespace korvex {

// What the collection asks of the window's tree, diagram and lists. Main
// thread only.
class CollectionTreeTarget {
  public:
    virtual ~CollectionTreeTarget() = default;

    // ---- The tree shown
    virtual ItemRef getItemByFilePath(const std::string& path) = 0;
    virtual ItemRef rootItem() const = 0;
    virtual void setRoot(const ItemRef& root) = 0;
    // Take the paths out of the tree (ancestor sizes follow); the changed
    // nodes are appended to `resItems`.
    virtual bool updateAllAfterRemovingFiles(const std::vector<std::string>& paths,
                                             ItemList& resItems) = 0;
    virtual bool updateAllAfterCreatingFiles(const std::vector<CopiedFileItem>& items,
                                             const std::string& toFolder, ItemList& resItems) = 0;

    // ---- The diagram
    virtual void updateAddedItemsToCollection(const std::vector<std::string>& paths) = 0;
    virtual void updateRemovedItemsInCollection(const std::vector<std::string>& paths) = 0;
    virtual void updateDiagramAfterRemovingItems(const ItemList& items) = 0;
    virtual void updateDiagramAfterAddingItems(const ItemList& items) = 0;
    virtual void startCutAnimation() = 0;
    virtual void redrawDiagram() = 0;

    // ---- The lists
    // The rows again, after the tree changed.
    virtual void reloadLists() = 0;
    // Only the rows' collected marks changed.
    virtual void refreshListMarks() = 0;
    virtual void showPreviewFor(const std::string& path) = 0;

    // ---- Trust
    // Why the items may not be removed, moved or copied (a tree read from a
    // file whose items are not the files on disk); nothing when they may.
    virtual std::optional<std::string> refusalForItems(const ItemList& items) const {
        (void)items;
        return std::nullopt;
    }

    // ---- Scanning
    virtual bool isScanning() const = 0;
    // The shown root is the one being scanned, or has not been scanned.
    virtual bool rootNeedsScan() const = 0;
    virtual void startScan() = 0;
    virtual void stopScan() = 0;
};

}  // namespace korvex
