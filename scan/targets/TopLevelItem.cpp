#include "scan/targets/TopLevelItem.h"

#include "platform/fs/FileDates.h"
#include "scan/skip/PackageRules.h"
#include "scan/tree/CopiedFileItem.h"

#include <sys/stat.h>

namespace korvex {

TopLevelItem::TopLevelItem(std::string path, std::string name, std::int64_t size,
                           std::int64_t freeSize, std::int64_t nodes)
    : pname(std::move(name)),
      ppath(std::move(path)),
      nsize(size),
      nfreesize(freeSize),
      nnodes(nodes) {
    initDates();
}

void TopLevelItem::initDates() {
    FileSystemItemAttributes dates = FileSystemItemAttributes::initWithPath(ppath);
    pcreatedDate = dates.fileCreationDate;
    pmodDate = dates.fileModificationDate;
    paccDate = dates.lastAccessDate;
}

std::string TopLevelItem::getDisplayName() const {
    return platform::displayNameAtPath(ppath);
}

void TopLevelItem::addFileItemToList(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) {
        return;
    }
    std::string name = platform::displayNameAtPath(path);
    bool folder = S_ISDIR(info.st_mode) && !isPackageName(name);
    std::int64_t size =
        S_ISREG(info.st_mode) ? static_cast<std::int64_t>(info.st_blocks) * 512 : -1;
    aFiles.push_back(AbsolutePathItem::initWithPathSize(name, path, size, folder));
}

double TopLevelItem::getFullRatio() const {
    if (nsize < 1) {
        return 1.0;
    }
    return static_cast<double>(getOccSize()) / static_cast<double>(nsize);
}

std::int64_t TopLevelItem::calculateTotalSize() const {
    if (nsize != 0) {
        return nsize;
    }
    return _scannedRoot != nullptr ? _scannedRoot->getWholeItemSize() : 0;
}

ItemRef TopLevelItem::getItemByFilePath(std::string_view path) const {
    return _scannedRoot != nullptr ? _scannedRoot->getItemByFilePath(path) : nullptr;
}

FileSystemItem* TopLevelItem::childAtIndex(std::size_t index) const {
    return index < aFiles.size() ? aFiles[index].get() : nullptr;
}

ItemList TopLevelItem::updateRemovingItemsByPaths(const std::vector<std::string>& paths) {
    ItemList cuts;
    if (_scannedRoot != nullptr) {
        _scannedRoot->updateRemovingItemsByPaths(paths, cuts);
    }
    return cuts;
}

bool TopLevelItem::addFileItems(const std::vector<CopiedFileItem>& items, std::string_view toFolder,
                                ItemList& resItems) {
    return _scannedRoot != nullptr && _scannedRoot->addFileItems(items, toFolder, resItems);
}

void TopLevelItem::updateAddedItemsToCollection(const std::vector<std::string>& paths) {
    if (_scannedRoot != nullptr) {
        _scannedRoot->updateAddedItemsToCollection(paths);
    }
}

void TopLevelItem::updateRemovedItemsInCollection(const std::vector<std::string>& paths) {
    if (_scannedRoot != nullptr) {
        _scannedRoot->updateRemovedItemsInCollection(paths);
    }
}

namespace {

// Within ±0.01 %: mine ≥ other × 0.9999 and ≤ other × 1.0001, whole bytes.
bool nearlyEqual(std::int64_t mine, std::int64_t other) {
    auto low = static_cast<std::int64_t>(static_cast<double>(other) * 0.9999);
    auto high = static_cast<std::int64_t>(static_cast<double>(other) * 1.0001);
    return mine >= low && mine <= high;
}

}  // namespace

bool TopLevelItem::isEqual(const TopLevelItem& other) const {
    return nearlyEqual(nsize, other.nsize) && nearlyEqual(nfreesize, other.nfreesize) &&
           nearlyEqual(nreserved, other.nreserved) && nearlyEqual(nnodes, other.nnodes) &&
           pname == other.pname && ppath == other.ppath && pcreatedDate == other.pcreatedDate &&
           paccDate == other.paccDate && pmodDate == other.pmodDate;
}

void TopLevelItem::setPropsFrom(const TopLevelItem& other) {
    nsize = other.nsize;
    nfreesize = other.nfreesize;
    nnodes = other.nnodes;
    nreserved = other.nreserved;
    pname = other.pname;
    ppath = other.ppath;
    mnValence = other.mnValence;
    pcreatedDate = other.pcreatedDate;
    pmodDate = other.pmodDate;
    paccDate = other.paccDate;
    if (_scannedRoot != nullptr) {
        _scannedRoot->updatePath(other.getFullPath());
    }
}

}  // namespace korvex
