#include "scan/tree/FolderSystemCutItem.h"

namespace korvex {

FolderSystemCutItem::FolderSystemCutItem(InlineName name, FolderSystemItem* parent,
                                         std::int64_t itemsize, bool bPack, std::uint8_t timeCode,
                                         bool hidden, bool cloud)
    : FolderSystemItem(name, parent, itemsize, bPack, timeCode, hidden, cloud) {}

boost::intrusive_ptr<FolderSystemCutItem> FolderSystemCutItem::makeReplacing(
    FolderSystemItem& source) {
    auto cut = allocate<FolderSystemCutItem>(
        source.relativePath(), source.getParent(), source.selfSize(), source.isPack(),
        source.getTimeCode(), source.isHiddenFlag(), source.isCloudStored());
    source.copyCommonStateTo(*cut);
    cut->storeSize(source.ownCountedSize());
    cut->mReplacedFolder = &source;
    source.handChildrenTo(*cut, false);
    return cut;
}

boost::intrusive_ptr<FolderSystemCutItem> FolderSystemCutItem::makeCopy(
    const FolderSystemItem& source, FolderSystemItem* parent, std::string_view name) {
    auto cut = allocate<FolderSystemCutItem>(name, parent, source.selfSize(), source.isPack(),
                                             source.getTimeCode(), source.isHiddenFlag(),
                                             source.isCloudStored());
    source.copyCommonStateTo(*cut);
    cut->storeSize(source.ownCountedSize());
    if (!source.isPack()) {
        source.duplicateChildrenInto(*cut);
    }
    return cut;
}

std::int64_t FolderSystemCutItem::scaled(std::int64_t size) const {
    return static_cast<std::int64_t>(mddrawkoef * static_cast<double>(size));
}

std::int64_t FolderSystemCutItem::gettotalsize() const {
    return scaled(FolderSystemItem::gettotalsize());
}

std::int64_t FolderSystemCutItem::calctotalsize() {
    return scaled(FolderSystemItem::calctotalsize());
}

std::int64_t FolderSystemCutItem::calcTotalSizeWithMaxSizes(std::int64_t* maxSizes, int curLevel) {
    return scaled(FolderSystemItem::calcTotalSizeWithMaxSizes(maxSizes, curLevel));
}

bool FolderSystemCutItem::insert2BiggestFilesArray(ItemList& list) {
    return mddrawkoef == 1.0 && FolderSystemItem::insert2BiggestFilesArray(list);
}

void FolderSystemCutItem::fillBiggestFilesArray(ItemList& list) {
    if (mddrawkoef == 1.0) {
        FolderSystemItem::fillBiggestFilesArray(list);
    }
}

bool FolderSystemCutItem::replaceToSuperItem() {
    FolderSystemItem* parent = getParent();
    if (parent == nullptr || !parent->containsObject(this)) {
        return false;
    }
    FolderRef plain = initWithPathSizeNoParent(relativePath(), parent, storedTotal(), packageBit(),
                                               getTimeCode(), isHiddenFlag(), isCloudStored());
    copyCommonStateTo(*plain);
    plain->storeSize(ownCountedSize());
    handChildrenTo(*plain, true);
    parent->replaceChild(this, std::move(plain));
    return true;
}

}  // namespace korvex
