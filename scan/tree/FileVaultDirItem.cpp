#include "scan/tree/FileVaultDirItem.h"

#include "scan/tree/FolderSystemItem.h"

namespace korvex {

FileVaultDirItem::FileVaultDirItem(InlineName name, FolderSystemItem* parent, std::int64_t itemsize,
                                   std::string link, std::uint8_t timeCode, bool hidden, bool cloud)
    : FileSystemItem(name, parent, itemsize, timeCode, hidden, cloud),
      linkVolumePath(std::move(link)) {}

boost::intrusive_ptr<FileVaultDirItem> FileVaultDirItem::initWithPathSize(
    std::string_view path, FolderSystemItem* parent, std::int64_t itemsize,
    std::string linkVolumePath, std::uint8_t timeCode, bool hidden, bool cloud) {
    auto item = allocate<FileVaultDirItem>(path, parent, itemsize, std::move(linkVolumePath),
                                           timeCode, hidden, cloud);
    attach(parent, item);
    return item;
}

ItemRef FileVaultDirItem::addDuplicateToParent(FolderSystemItem* parent) const {
    return initWithPathSize(relativePath(), parent, mnselfsize, linkVolumePath, getTimeCode(),
                            isHiddenFlag(), isCloudStored());
}

}  // namespace korvex
