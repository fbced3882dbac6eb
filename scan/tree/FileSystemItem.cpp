#include "scan/tree/FileSystemItem.h"

#include "platform/fs/FileDates.h"
#include "platform/fs/PathNames.h"
#include "scan/format/PathUtils.h"

#include "scan/tree/FileSystemCutItem.h"
#include "scan/tree/FolderSystemItem.h"
#include "scan/tree/RareNodeFields.h"
#include "scan/tree/SizeCode.h"

#include <algorithm>

namespace korvex {

static_assert(sizeof(FileSystemItem) <= 24, "a file node must stay small");

FileSystemItem::FileSystemItem(InlineName name, FolderSystemItem* parent, std::int64_t itemsize,
                               std::uint8_t timeCode, bool hidden, bool cloud)
    : mCountAndFlags(timeCode & kTimeCodeMask),
      mNameAndBits(name.inChunk != nullptr ? nodeArena::offsetInChunk(name.inChunk)
                                           : kNameElsewhereBit),
      mSizeCode(0),
      mParent(nodeArena::handleOf(parent)) {
    if (name.inChunk == nullptr) {
        rareNodeFields::setName(this, name.text);
    }
    storeSize(itemsize);
    setHiddenFlag(hidden);
    setIsCloudStored(cloud);
}

FileSystemItem::~FileSystemItem() {
    if (hasBit(kNameElsewhereBit)) {
        rareNodeFields::forgetName(this);
    }
    if (mSizeCode.load(std::memory_order_relaxed) == sizeCode::kElsewhere) {
        rareNodeFields::forgetSize(this);
    }
    if (hasBit(kDatesBit)) {
        rareNodeFields::forgetAttributes(this);
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

std::string_view FileSystemItem::relativePath() const {
    const std::uint32_t word = mNameAndBits.load(std::memory_order_relaxed);
    if ((word & kNameElsewhereBit) != 0) {
        return rareNodeFields::name(this);
    }
    return nodeArena::atOffset(this, word & kNameOffsetMask);
}

std::string_view FileSystemItem::name() const {
    return getParent() != nullptr ? relativePath() : platform::lastPathComponent(relativePath());
}

void FileSystemItem::setParent(FolderSystemItem* parent) {
    mParent.store(nodeArena::handleOf(parent), std::memory_order_relaxed);
}

void FileSystemItem::appendFullPath(std::string& out) const {
    if (const FolderSystemItem* parent = getParent()) {
        parent->appendFullPath(out);
        if (out.empty() || out.back() != '/') {
            out.push_back('/');
        }
    }
    out.append(relativePath());
}

std::string FileSystemItem::fullPath() const {
    std::string out;
    out.reserve(128);
    appendFullPath(out);
    return out;
}

void FileSystemItem::updatePath(std::string_view path) {
    rareNodeFields::setName(this, path);
    setBit(kNameElsewhereBit, true);
}

std::string FileSystemItem::displayNameAccordingToStorageType() const {
    if (isCloudStored()) {
        return std::string(name());
    }
    return platform::displayNameAtPath(getFullPath());
}

FileSystemItem* FileSystemItem::getTopParent() {
    FileSystemItem* node = this;
    while (FileSystemItem* parent = node->getParent()) {
        node = parent;
    }
    return node;
}

bool FileSystemItem::isMyParent(const FileSystemItem* folder) const {
    for (const FileSystemItem* p = getParent(); p != nullptr; p = p->getParent()) {
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
    for (FolderSystemItem* p = getParent(); p != nullptr; p = p->getParent()) {
        p->addFileSize(size);
    }
}

std::int64_t FileSystemItem::storedSize() const {
    const std::uint32_t code = mSizeCode.load(std::memory_order_relaxed);
    return code == sizeCode::kElsewhere ? rareNodeFields::size(this) : sizeCode::decode(code);
}

void FileSystemItem::storeSize(std::int64_t bytes) {
    const std::uint32_t old = mSizeCode.load(std::memory_order_relaxed);
    if (std::optional<std::uint32_t> code = sizeCode::encode(bytes)) {
        mSizeCode.store(*code, std::memory_order_relaxed);
        if (old == sizeCode::kElsewhere) {
            rareNodeFields::forgetSize(this);
        }
    } else {
        rareNodeFields::setSize(this, bytes);
        mSizeCode.store(sizeCode::kElsewhere, std::memory_order_relaxed);
    }
}

std::int64_t FileSystemItem::selfSize() const {
    return hasBit(kFolderBit) ? static_cast<const FolderSystemItem*>(this)->storedTotal()
                              : storedSize();
}

std::int64_t FileSystemItem::calctotalsize() {
    return std::max<std::int64_t>(storedSize(), 0);
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
        for (FolderSystemItem* p = getParent(); p != nullptr; p = p->getParent()) {
            p->setSorted(on);
        }
    }
}

bool FileSystemItem::selfOrAncestorHas(std::uint8_t flag) const {
    for (const FileSystemItem* n = this; n != nullptr; n = n->getParent()) {
        if ((n->flagByte() & flag) != 0) {
            return true;
        }
    }
    return false;
}

bool FileSystemItem::isTopCollected() const {
    return selfOrAncestorHas(kCollectedFlag);
}

bool FileSystemItem::isParentCollected() const {
    const FolderSystemItem* parent = getParent();
    return parent != nullptr && parent->isTopCollected();
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
    for (const FileSystemItem* n = this; n != nullptr; n = n->getParent()) {
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
    other.mCountAndFlags.fetch_and(~std::uint32_t{0xFF}, std::memory_order_relaxed);
    other.mCountAndFlags.fetch_or(flagByte(), std::memory_order_relaxed);
    other.setIsCloudStored(isCloudStored());
    other.setAccessDenied(accessDenied());
}

ItemRef FileSystemItem::createOrGetCutItem() {
    return FileSystemCutItem::makeFrom(*this, getParent(), relativePath());
}

ItemRef FileSystemItem::createDuplicatedCutItemForParent(FolderSystemItem* parent,
                                                         std::string_view newName) {
    return FileSystemCutItem::makeFrom(*this, parent, newName);
}

ItemRef FileSystemItem::addDuplicateToParent(FolderSystemItem* parent) const {
    return initWithPathSize(relativePath(), parent, storedSize(), getTimeCode(), isHiddenFlag(),
                            isCloudStored());
}

}  // namespace korvex
