#include "scan/tree/FileSystemCutItem.h"

#include "scan/tree/FolderSystemItem.h"

namespace korvex {

boost::intrusive_ptr<FileSystemCutItem> FileSystemCutItem::makeFrom(const FileSystemItem& source,
                                                                    FolderSystemItem* parent,
                                                                    std::string_view name) {
    auto cut = allocate<FileSystemCutItem>(name, parent, source.selfSize(), source.getTimeCode(),
                                           source.isHiddenFlag(), source.isCloudStored());
    source.copyCommonStateTo(*cut);
    return cut;
}

std::int64_t FileSystemCutItem::gettotalsize() const {
    return static_cast<std::int64_t>(mddrawkoef * static_cast<double>(storedSize()));
}

std::int64_t FileSystemCutItem::calcTotalSizeWithMaxSizes(std::int64_t* maxSizes, int curLevel) {
    std::int64_t size = gettotalsize();
    if (maxSizes != nullptr && curLevel >= 0 && curLevel < 14) {
        maxSizes[curLevel] = std::max(maxSizes[curLevel], size);
    }
    return size;
}

bool FileSystemCutItem::insert2BiggestFilesArray(ItemList& list) {
    return mddrawkoef == 1.0 && FileSystemItem::insert2BiggestFilesArray(list);
}

bool FileSystemCutItem::replaceToSuperItem() {
    FolderSystemItem* parent = getParent();
    if (parent == nullptr || !parent->containsObject(this)) {
        return false;
    }
    ItemRef plain = initWithPathSizeNoParent(relativePath(), parent, storedSize(), getTimeCode(),
                                             isHiddenFlag(), isCloudStored());
    copyCommonStateTo(*plain);
    parent->replaceChild(this, std::move(plain));
    return true;
}

}  // namespace korvex
