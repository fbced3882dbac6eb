#include "browse/contents/OutlineListItems.h"

#include "browse/contents/VolumeContentContainerLocalizable.h"

namespace korvex {

OutlineListSubItem::OutlineListSubItem(ItemRef item)
    : mItem(std::move(item)),
      mIsFolder(mItem->isDirectory()),
      mIsHidden(mItem->isTopHiddenFlag()),
      mPath(mItem->getFullPath()),
      mSize(mItem->getWholeItemSize()) {}

const std::string& OutlineListSubItem::displayName() const {
    if (!mDisplayName) {
        mDisplayName = mItem->displayNameAccordingToStorageType();
    }
    return *mDisplayName;
}

std::string OutlineListGroupItemImpl::title() const {
    namespace texts = VolumeContentContainerLocalizable;
    return platform::localized(texts::kTable, mType == GroupType::smallest
                                                  ? texts::kSmallItemsGroupTitle
                                                  : texts::kHiddenItemsGroupTitle);
}

const char* OutlineListGroupItemImpl::iconName() const {
    return mType == GroupType::smallest ? "smallest_group_icon" : "hidden_group_icon";
}

void OutlineListGroupItemImpl::setChildren(std::vector<OutlineListSubRow> rows) {
    mSize = 0;
    for (const OutlineListSubRow& row : rows) {
        row->setGroupItem(this);
        mSize += row->size();
    }
    mChildren = std::move(rows);
}

}  // namespace korvex
