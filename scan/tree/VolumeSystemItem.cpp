#include "scan/tree/VolumeSystemItem.h"

#include "scan/tree/SpecialSystemItem.h"

#include <algorithm>

namespace korvex {

VolumeSystemItem::VolumeSystemItem(InlineName name, std::int64_t diskSize,
                                   std::int64_t diskFreeSize)
    : FolderSystemItem(name, nullptr, 0, false, 0, false, false),
      nVolSize(diskSize),
      nVolFreeSize(diskFreeSize) {}

VolumeRef VolumeSystemItem::initWithPath(std::string_view path, std::int64_t diskSize,
                                         std::int64_t diskFreeSize) {
    return allocate<VolumeSystemItem>(path, diskSize, diskFreeSize);
}

std::int64_t VolumeSystemItem::getOccSize() const {
    return std::max(nVolSize - nVolFreeSize - nVolReservedSize, gettotalsize());
}

std::int64_t VolumeSystemItem::getTheSize() const {
    if (bUseFreeSector) {
        return nVolSize;
    }
    std::int64_t scanned = gettotalsize();
    return scanned < 1 ? nVolSize - nVolFreeSize - nVolReservedSize : scanned;
}

double VolumeSystemItem::getFullRatio() const {
    return static_cast<double>(getOccSize()) / static_cast<double>(getWholeItemSize());
}

std::int64_t VolumeSystemItem::calctotalsize() {
    initSizesByLevels();
    return FolderSystemItem::calctotalsize();
}

std::int64_t VolumeSystemItem::calctotalsizeex() {
    initSizesByLevels();
    return calcTotalSizeWithMaxSizes(maxSizesByLevels.data(), 0);
}

void VolumeSystemItem::addChild(ItemRef child) {
    if (child->isPurgeable()) {
        _purgeableSpaceItem = static_cast<SpecialSystemItem*>(child.get());
    }
    FolderSystemItem::addChild(std::move(child));
}

void VolumeSystemItem::removeChildAndRecalc(const FileSystemItem* child) {
    if (child == _purgeableSpaceItem) {
        _purgeableSpaceItem = nullptr;
    }
    FolderSystemItem::removeChildAndRecalc(child);
    initSizesByLevels();
}

}  // namespace korvex
