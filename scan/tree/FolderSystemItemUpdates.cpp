// Tree updates after file operations: removed nodes become cut items that the
// diagram shrinks away; copied or moved items arrive as cut items that grow.

#include "scan/tree/CopiedFileItem.h"
#include "scan/tree/FolderSystemCutItem.h"
#include "scan/tree/FolderSystemItem.h"

namespace korvex {

ItemRef FolderSystemItem::createOrGetCutItem() {
    return FolderSystemCutItem::makeReplacing(*this);
}

ItemRef FolderSystemItem::createDuplicatedCutItemForParent(FolderSystemItem* parent,
                                                           std::string_view newName) {
    return FolderSystemCutItem::makeCopy(*this, parent, newName);
}

bool FolderSystemItem::updateRemovingItemsByPaths(const std::vector<std::string>& paths,
                                                  ItemList& resItems) {
    bool replaced = false;
    for (const std::string& path : paths) {
        ItemRef node = getItemByFilePath(path);
        if (node == nullptr || node->getParent() == nullptr) {
            continue;
        }
        ItemRef cut = node->createOrGetCutItem();
        if (cut == nullptr) {
            continue;
        }
        if (cut != node) {
            FolderSystemItem* parent = node->getParent();
            parent->replaceChild(node.get(), cut);
            parent->setSorted(false, true);
            replaced = true;
        }
        cut->setdrawkoef(1.0);
        resItems.push_back(cut);
    }
    return replaced;
}

bool FolderSystemItem::addFileItems(const std::vector<CopiedFileItem>& items,
                                    std::string_view toFolder, ItemList& resItems) {
    FolderSystemItem* destination = getFolderItemByFolderPath(toFolder);
    if (destination == nullptr) {
        return false;
    }
    return destination->addFileItems(items, resItems);
}

bool FolderSystemItem::addFileItems(const std::vector<CopiedFileItem>& items, ItemList& resItems) {
    bool added = false;
    for (const CopiedFileItem& copied : items) {
        if (copied.getSrcItem() == nullptr) {
            continue;
        }
        ItemRef cut = copied.getSrcItem()->createDuplicatedCutItemForParent(this, copied.getName());
        if (cut == nullptr) {
            continue;
        }
        // Placed by its full size while the coefficient is still 1.0.
        if (isSorted()) {
            insertChildSorting(cut);
        } else {
            addChild(cut);
        }
        cut->setdrawkoef(0.0);
        resItems.push_back(cut);
        added = true;
    }
    if (added) {
        setSorted(false, true);
    }
    return added;
}

}  // namespace korvex
