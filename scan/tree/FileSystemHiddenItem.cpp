#include "scan/tree/FileSystemHiddenItem.h"

#include "scan/tree/FolderSystemItem.h"

namespace korvex {

boost::intrusive_ptr<FileSystemHiddenItem> FileSystemHiddenItem::initWithPathSize(
    std::string_view path, FolderSystemItem* parent, std::int64_t itemsize, std::uint8_t timeCode,
    bool hidden, bool cloud) {
    auto item = allocate<FileSystemHiddenItem>(path, parent, itemsize, timeCode, hidden, cloud);
    attach(parent, item);
    return item;
}

void FileSystemHiddenItem::addHiddenItem(std::int64_t size) {
    ++mnhiddencount;
    nAddSize += size;
}

std::int64_t FileSystemHiddenItem::calctotalsize() {
    mnselfsize = nAddSize;
    return FileSystemItem::calctotalsize();
}

std::int64_t FileSystemHiddenItem::calcTotalSizeWithMaxSizes(std::int64_t* maxSizes, int curLevel) {
    mnselfsize = nAddSize;
    return FileSystemItem::calcTotalSizeWithMaxSizes(maxSizes, curLevel);
}

ItemRef FileSystemHiddenItem::addDuplicateToParent(FolderSystemItem* parent) const {
    auto copy = initWithPathSize(relativePath(), parent, mnselfsize, getTimeCode(), isHiddenFlag(),
                                 isCloudStored());
    copy->mnhiddencount = mnhiddencount;
    copy->nAddSize = nAddSize;
    return copy;
}

}  // namespace korvex
