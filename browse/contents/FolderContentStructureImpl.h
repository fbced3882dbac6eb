#pragma once

#include "browse/contents/OutlineListItems.h"

#include <array>
#include <functional>
#include <memory>
#include <unordered_map>

namespace korvex {

class FolderContentStructureListener {
  public:
    virtual ~FolderContentStructureListener() = default;
    // A rebuild changed the group's expansion; the view shows the new one.
    virtual void groupExpansionChanged(OutlineListGroupItemImpl& group) = 0;
};

// A before B: bigger first; equal sizes by name, ignoring letter case, with
// digit runs compared by value.
bool outlineRowPrecedes(const OutlineListItem& a, const OutlineListItem& b);

// The rows of one folder: item rows biggest first, then the "Small items"
// group, then the "Hidden items" group. Rows and groups are reused while the
// same folder is shown, so a group keeps its expansion across rebuilds.
class FolderContentStructureImpl {
  public:
    using GroupType = OutlineListGroupItemImpl::GroupType;
    using RowComparator = std::function<bool(const OutlineListItem&, const OutlineListItem&)>;

    // Lists of this many rows or more keep the tree's order.
    static constexpr std::size_t kSortLimit = 3000;

    void setListener(FolderContentStructureListener* listener) { mListener = listener; }

    // Rebuilds the rows; another folder than before starts with fresh caches.
    void setItem(ItemRef folder);
    const ItemRef& item() const { return mItem; }

    const std::vector<OutlineListRow>& childrens() const { return mChildrens; }
    // None for the top level.
    std::size_t numberOfChildrenOfItem(const OutlineListItem* row) const;
    OutlineListItem* childOfItem(std::size_t index, const OutlineListItem* row) const;
    bool isItemExpandable(const OutlineListItem* row) const { return row && row->isGroup(); }

    static RowComparator rowComparator() { return outlineRowPrecedes; }

    OutlineListSubRow rowForItem(const ItemRef& node);
    std::shared_ptr<OutlineListGroupItemImpl> groupFor(GroupType type, bool expansionRequest);

    // Children the scan could not read, counted by the last rebuild.
    std::int64_t countOfUnscannedFiles() const { return mUnscannedFiles; }
    std::int64_t countOfUnscannedFolders() const { return mUnscannedFolders; }

  private:
    void appendGroup(GroupType type, bool expansionRequest, std::vector<OutlineListSubRow> rows);

    FolderContentStructureListener* mListener = nullptr;
    ItemRef mItem;
    std::vector<OutlineListRow> mChildrens;
    std::int64_t mUnscannedFiles = 0;
    std::int64_t mUnscannedFolders = 0;
    std::unordered_map<const FileSystemItem*, OutlineListSubRow> mDisplayItemsCache;
    std::array<std::shared_ptr<OutlineListGroupItemImpl>, 2> mDisplayGroupsCache;
};

}  // namespace korvex
