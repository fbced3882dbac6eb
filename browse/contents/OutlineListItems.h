#pragma once

#include "scan/tree/FileSystemItem.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace korvex {

class OutlineListGroupItemImpl;

// A row of a folder contents list: one tree node, or a group of them.
class OutlineListItem {
  public:
    virtual ~OutlineListItem() = default;
    virtual bool isGroup() const = 0;
    virtual std::int64_t size() const = 0;
};

using OutlineListRow = std::shared_ptr<OutlineListItem>;

// Items under this many bytes (decimal) go to the "Small items" group.
inline constexpr std::int64_t kSmallItemBound = 500000;

// One row for one tree node. Path and size are taken when the row is made,
// so a row shows what the node was when its folder was first listed.
class OutlineListSubItem : public OutlineListItem {
  public:
    explicit OutlineListSubItem(ItemRef item);

    bool isGroup() const override { return false; }
    std::int64_t size() const override { return mSize; }

    const ItemRef& systemItem() const { return mItem; }
    OutlineListGroupItemImpl* groupItem() const { return mGroup; }
    void setGroupItem(OutlineListGroupItemImpl* group) { mGroup = group; }
    bool isFolder() const { return mIsFolder; }
    // The node or one of its ancestors is hidden.
    bool isHidden() const { return mIsHidden; }
    bool isSmall() const { return mSize < kSmallItemBound; }
    bool isGrouped() const { return isSmall() || isHidden(); }
    const std::string& path() const { return mPath; }
    // Asked of the file manager on first use only: most rows are never drawn.
    const std::string& displayName() const;

  private:
    ItemRef mItem;
    OutlineListGroupItemImpl* mGroup = nullptr;  // owned by the structure's group cache
    bool mIsFolder;
    bool mIsHidden;
    std::string mPath;
    std::int64_t mSize;
    mutable std::optional<std::string> mDisplayName;
};

using OutlineListSubRow = std::shared_ptr<OutlineListSubItem>;

// The collapsible "Small items" and "Hidden items" rows.
class OutlineListGroupItemImpl : public OutlineListItem {
  public:
    enum class GroupType { smallest = 0, hidden = 1 };

    OutlineListGroupItemImpl(GroupType type, bool expanded) : mType(type), mExpanded(expanded) {}

    bool isGroup() const override { return true; }
    std::int64_t size() const override { return mSize; }

    GroupType type() const { return mType; }
    std::string title() const;
    const char* iconName() const;
    bool isExpanded() const { return mExpanded; }
    void setExpanded(bool expanded) { mExpanded = expanded; }
    const std::vector<OutlineListSubRow>& children() const { return mChildren; }
    // The rows become this group's, and the group's size their sum.
    void setChildren(std::vector<OutlineListSubRow> rows);

  private:
    GroupType mType;
    bool mExpanded;
    std::vector<OutlineListSubRow> mChildren;
    std::int64_t mSize = 0;
};

}  // namespace korvex
