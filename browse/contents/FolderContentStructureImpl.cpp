#include "browse/contents/FolderContentStructureImpl.h"

#include "browse/contents/CaseFolding.h"
#include "scan/tree/FolderSystemItem.h"
#include "scan/tree/NumericOrder.h"

#include <algorithm>

namespace korvex {

namespace {

std::string_view rowName(const OutlineListItem& row) {
    if (row.isGroup()) {
        return {};
    }
    return static_cast<const OutlineListSubItem&>(row).systemItem()->name();
}

template <class Row>
void sortRows(std::vector<Row>& rows) {
    if (rows.size() < FolderContentStructureImpl::kSortLimit) {
        std::stable_sort(rows.begin(), rows.end(),
                         [](const Row& a, const Row& b) { return outlineRowPrecedes(*a, *b); });
    }
}

}  // namespace

bool outlineRowPrecedes(const OutlineListItem& a, const OutlineListItem& b) {
    if (a.size() != b.size()) {
        return a.size() > b.size();
    }
    return compareNumeric(caseFolded(rowName(a)), caseFolded(rowName(b))) < 0;
}

void FolderContentStructureImpl::setItem(ItemRef folder) {
    if (folder != mItem) {
        mDisplayItemsCache.clear();
        mDisplayGroupsCache = {};
    }
    mItem = std::move(folder);
    mUnscannedFiles = 0;
    mUnscannedFolders = 0;
    mChildrens.clear();
    auto* directory = dynamic_cast<FolderSystemItem*>(mItem.get());
    if (directory == nullptr || directory->isPack()) {
        return;
    }
    std::vector<OutlineListSubRow> smallRows;
    std::vector<OutlineListSubRow> hiddenRows;
    std::vector<OutlineListSubRow> itemRows;
    itemRows.reserve(directory->childrenArray().size());
    mDisplayItemsCache.reserve(directory->childrenArray().size());
    for (const ItemRef& child : directory->childrenArray()) {
        if (child->isSpecial() || child->isCutItem()) {
            continue;
        }
        if (child->accessDenied()) {
            ++(child->isDirectory() ? mUnscannedFolders : mUnscannedFiles);
        }
        OutlineListSubRow row = rowForItem(child);
        row->setGroupItem(nullptr);
        if (row->isHidden()) {
            hiddenRows.push_back(std::move(row));
        } else if (row->isSmall()) {
            smallRows.push_back(std::move(row));
        } else {
            itemRows.push_back(std::move(row));
        }
    }
    if (!directory->isSorted()) {
        sortRows(itemRows);
        sortRows(smallRows);
        sortRows(hiddenRows);
    }
    if (itemRows.empty()) {
        itemRows = std::move(smallRows);
        smallRows.clear();
    }
    const bool onlyHidden = itemRows.empty();
    mChildrens.assign(std::make_move_iterator(itemRows.begin()),
                      std::make_move_iterator(itemRows.end()));
    if (!smallRows.empty()) {
        appendGroup(GroupType::smallest, false, std::move(smallRows));
    }
    if (!hiddenRows.empty()) {
        appendGroup(GroupType::hidden, onlyHidden, std::move(hiddenRows));
    }
}

void FolderContentStructureImpl::appendGroup(GroupType type, bool expansionRequest,
                                             std::vector<OutlineListSubRow> rows) {
    std::shared_ptr<OutlineListGroupItemImpl> group = groupFor(type, expansionRequest);
    group->setChildren(std::move(rows));
    mChildrens.push_back(std::move(group));
}

std::size_t FolderContentStructureImpl::numberOfChildrenOfItem(const OutlineListItem* row) const {
    if (row == nullptr) {
        return mChildrens.size();
    }
    return row->isGroup() ? static_cast<const OutlineListGroupItemImpl*>(row)->children().size()
                          : 0;
}

OutlineListItem* FolderContentStructureImpl::childOfItem(std::size_t index,
                                                         const OutlineListItem* row) const {
    if (row == nullptr) {
        return mChildrens.at(index).get();
    }
    return static_cast<const OutlineListGroupItemImpl*>(row)->children().at(index).get();
}

OutlineListSubRow FolderContentStructureImpl::rowForItem(const ItemRef& node) {
    OutlineListSubRow& cached = mDisplayItemsCache[node.get()];
    // A row keeps the size it was made with: a node that grew or shrank
    // since (a scan going on, an operation) gets a row of its own again.
    if (!cached || cached->size() != node->getWholeItemSize()) {
        cached = std::make_shared<OutlineListSubItem>(node);
    }
    return cached;
}

std::shared_ptr<OutlineListGroupItemImpl> FolderContentStructureImpl::groupFor(
    GroupType type, bool expansionRequest) {
    std::shared_ptr<OutlineListGroupItemImpl>& cached =
        mDisplayGroupsCache.at(static_cast<std::size_t>(type));
    if (!cached) {
        cached = std::make_shared<OutlineListGroupItemImpl>(type, expansionRequest);
        return cached;
    }
    const bool wasExpanded = cached->isExpanded();
    if (expansionRequest) {
        cached->setExpanded(true);
    }
    if (wasExpanded != expansionRequest && mListener != nullptr) {
        mListener->groupExpansionChanged(*cached);
    }
    return cached;
}

}  // namespace korvex
