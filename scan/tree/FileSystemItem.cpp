#include "scan/tree/FileSystemItem.h"

#include "platform/fs/FileDates.h"
#include "platform/fs/PathNames.h"
#include "scan/format/PathUtils.h"

#include "scan/tree/FileSystemCutItem.h"
#include "scan/tree/FolderSystemItem.h"

#include <algorithm>

namespace korvex {

static_assert(sizeof(FileSystemItem) <= 40, "a file node must stay small");

FileSystemItem::FileSystemItem(InlineName name, FolderSystemItem* parent, std::int64_t itemsize,
                               std::uint8_t timeCode, bool hidden, bool cloud)
    : mntimeCode(static_cast<std::uint8_t>(timeCode & kTimeCodeMask)),
      _isCloudStored(cloud),
      _accessDenied(false),
      mnselfsize(itemsize),
      mParent(parent),
      mName(name.text) {
    setHiddenFlag(hidden);
}

FileSystemItem::~FileSystemItem() {
    if ((mNodeBits & kNameOwnedBit) != 0) {
        delete[] mName;
    }
}

ItemRef FileSystemItem::initWithPathSize(std::string_view path, FolderSystemItem* parent,
                                         std::int64_t itemsize, std::uint8_t timeCode, bool hidden,
                                         bool cloud) {
    ItemRef node = initWithPathSizeNoParent(path, parent, itemsize, timeCode, hidden, cloud);
    attach(parent, node);
    return node;
}

ItemRef FileSystemItem::initWithPathSizeNoParent(std::string_view path, FolderSystemItem* parent,
                                                 std::int64_t itemsize, std::uint8_t timeCode,
                                                 bool hidden, bool cloud) {
    return allocate<FileSystemItem>(path, parent, itemsize, timeCode, hidden, cloud);
}

void FileSystemItem::attach(FolderSystemItem* parent, const ItemRef& child) {
    if (parent != nullptr) {
        parent->addChild(child);
    }
}

// ---- Paths

std::string_view FileSystemItem::name() const {
    return mParent != nullptr ? std::string_view(mName) : platform::lastPathComponent(mName);
}

void FileSystemItem::appendFullPath(std::string& out) const {
    if (mParent != nullptr) {
        mParent->appendFullPath(out);
        if (out.empty() || out.back() != '/') {
            out.push_back('/');
        }
    }
    out.append(mName);
}

std::string FileSystemItem::fullPath() const {
    std::string out;
    out.reserve(128);
    appendFullPath(out);
    return out;
}

void FileSystemItem::updatePath(std::string_view path) {
    char* copy = new char[path.size() + 1];
    std::memcpy(copy, path.data(), path.size());
    copy[path.size()] = '\0';
    if ((mNodeBits & kNameOwnedBit) != 0) {
        delete[] mName;
    }
    mName = copy;
    mNodeBits |= kNameOwnedBit;
}

std::string FileSystemItem::displayNameAccordingToStorageType() const {
    if (_isCloudStored) {
        return std::string(name());
    }
    return platform::displayNameAtPath(getFullPath());
}

FileSystemItem* FileSystemItem::getTopParent() {
    FileSystemItem* node = this;
    while (node->mParent != nullptr) {
        node = node->mParent;
    }
    return node;
}

bool FileSystemItem::isMyParent(const FileSystemItem* folder) const {
    for (const FileSystemItem* p = mParent; p != nullptr; p = p->mParent) {
        if (p == folder) {
            return true;
        }
    }
    return false;
}

ItemRef FileSystemItem::getItemByFilePath(std::string_view path) {
    std::string own = fullPath();
    if (path == own) {
        return this;
    }
    std::vector<std::string_view> ownComps = pathComponents(own);
    std::vector<std::string_view> comps = pathComponents(path);
    if (!Utilmod::isFolderParent(own, &ownComps, path, &comps)) {
        return nullptr;
    }
    ItemRef result;
    for (std::size_t i = 0, n = numberOfChildren(); i < n; ++i) {
        FileSystemItem* child = childAtIndex(i);
        if (child != nullptr && child->findItemByPathComponents(comps, ownComps.size(), result)) {
            return result;
        }
    }
    return nullptr;
}

bool FileSystemItem::findItemByPathComponents(const std::vector<std::string_view>& comps,
                                              std::size_t offset, ItemRef& result) {
    if (offset >= comps.size() || comps[offset] != relativePath()) {
        return false;
    }
    // A file either is the target or the path runs through it: both decide.
    result = offset + 1 == comps.size() ? ItemRef(this) : nullptr;
    return true;
}

bool FileSystemItem::findFolderItemByPathComponents(const std::vector<std::string_view>&,
                                                    std::size_t, ItemRef&) {
    return false;
}

// ---- Sizes

void FileSystemItem::addFileSizeForAll(std::int64_t size) {
    addFileSize(size);
    for (FolderSystemItem* p = mParent; p != nullptr; p = p->getParent()) {
        p->addFileSize(size);
    }
}

std::int64_t FileSystemItem::calctotalsize() {
    return std::max<std::int64_t>(mnselfsize, 0);
}

std::int64_t FileSystemItem::calcTotalSizeWithMaxSizes(std::int64_t* maxSizes, int curLevel) {
    std::int64_t size = calctotalsize();
    if (maxSizes != nullptr && curLevel >= 0 && curLevel < 14) {
        maxSizes[curLevel] = std::max(maxSizes[curLevel], size);
    }
    return size;
}

// ---- Flags

void FileSystemItem::setSorted(bool on, bool recurcive) {
    setSorted(on);
    if (recurcive) {
        for (FolderSystemItem* p = mParent; p != nullptr; p = p->getParent()) {
            p->setSorted(on);
        }
    }
}

bool FileSystemItem::selfOrAncestorHas(std::uint8_t flag) const {
    for (const FileSystemItem* n = this; n != nullptr; n = n->mParent) {
        if ((n->mntimeCode & flag) != 0) {
            return true;
        }
    }
    return false;
}

bool FileSystemItem::isTopCollected() const {
    return selfOrAncestorHas(kCollectedFlag);
}

bool FileSystemItem::isParentCollected() const {
    return mParent != nullptr && mParent->isTopCollected();
}

bool FileSystemItem::isTopHiddenFlag() const {
    return selfOrAncestorHas(kHiddenFlag);
}

bool FileSystemItem::isTopTrashFlag() const {
    return selfOrAncestorHas(kTrashFlag);
}

void FileSystemItem::updateAddedItemsToCollection(const std::vector<std::string>& paths) {
    std::string myPath = fullPath();
    markAddedToCollection(paths, myPath);
}

void FileSystemItem::updateRemovedItemsInCollection(const std::vector<std::string>& paths) {
    std::string myPath = fullPath();
    markRemovedFromCollection(paths, myPath);
}

void FileSystemItem::markAddedToCollection(const std::vector<std::string>& paths,
                                           std::string& myPath) {
    if (std::find(paths.begin(), paths.end(), myPath) != paths.end()) {
        setCollected(true);
    }
}

void FileSystemItem::markRemovedFromCollection(const std::vector<std::string>& paths,
                                               std::string& myPath) {
    if (std::find(paths.begin(), paths.end(), myPath) != paths.end()) {
        cleanCollected();
    }
}

// ---- Depth

int FileSystemItem::calcLevelsToParent(const FileSystemItem* ancestor) const {
    int steps = 0;
    for (const FileSystemItem* n = this; n != nullptr; n = n->mParent) {
        if (n == ancestor) {
            return steps;
        }
        ++steps;
    }
    return -1000;
}

// ---- Biggest files

bool FileSystemItem::insert2BiggestFilesArray(ItemList& list) {
    std::int64_t size = gettotalsize();
    if (list.empty()) {
        list.emplace_back(this);
        return true;
    }
    std::size_t at = list.size();
    while (at > 0 && list[at - 1]->gettotalsize() < size) {
        --at;
    }
    if (at == kBiggestFilesBound) {
        return false;
    }
    list.emplace(list.begin() + static_cast<std::ptrdiff_t>(at), this);
    if (list.size() > kBiggestFilesBound) {
        list.pop_back();
    }
    return true;
}

bool FileSystemItem::insert2BiggestFilesArrayWithCheck_Added(ItemList& list) {
    auto it = std::find(list.begin(), list.end(), ItemRef(this));
    if (it == list.end()) {
        return insert2BiggestFilesArray(list);
    }
    if (it == list.begin()) {
        return false;
    }
    std::int64_t size = gettotalsize();
    for (; it != list.begin() && (*(it - 1))->gettotalsize() < size; --it) {
        std::iter_swap(it, it - 1);
    }
    return true;
}

// ---- Cut items and duplication

void FileSystemItem::copyCommonStateTo(FileSystemItem& other) const {
    other.mntimeCode = mntimeCode;
    other._isCloudStored = _isCloudStored;
    other._accessDenied = _accessDenied;
}

ItemRef FileSystemItem::createOrGetCutItem() {
    return FileSystemCutItem::makeFrom(*this, getParent(), relativePath());
}

ItemRef FileSystemItem::createDuplicatedCutItemForParent(FolderSystemItem* parent,
                                                         std::string_view newName) {
    return FileSystemCutItem::makeFrom(*this, parent, newName);
}

ItemRef FileSystemItem::addDuplicateToParent(FolderSystemItem* parent) const {
    return initWithPathSize(relativePath(), parent, mnselfsize, getTimeCode(), isHiddenFlag(),
                            isCloudStored());
}

}  // namespace korvex
