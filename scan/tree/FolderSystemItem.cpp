#include "scan/tree/FolderSystemItem.h"

#include "scan/format/PathUtils.h"
#include "scan/tree/NumericOrder.h"
#include "scan/tree/RareNodeFields.h"

#include <algorithm>
#include <cstdio>

namespace korvex {

static_assert(sizeof(FolderSystemItem) <= 48, "a folder node must stay small");

namespace {

// The freedesktop.org trash folders: a volume's shared ".Trash" (with one
// folder per user inside), a volume's per-user ".Trash-<uid>" and the home
// trash ".local/share/Trash" of any user's home.
bool isTrashFolder(std::string_view name, const FolderSystemItem* parent) {
    std::size_t slash = name.rfind('/');
    std::string_view last = slash == std::string_view::npos ? name : name.substr(slash + 1);
    if (last == ".Trash") {
        return true;
    }
    if (last.starts_with(".Trash-")) {
        std::string_view uid = last.substr(7);
        return !uid.empty() &&
               std::all_of(uid.begin(), uid.end(), [](char c) { return c >= '0' && c <= '9'; });
    }
    if (parent == nullptr) {
        return name.ends_with("/.local/share/Trash");  // a scan root keeps its whole path
    }
    if (last != "Trash" || parent->name() != "share") {
        return false;
    }
    const FolderSystemItem* local = parent->getParent();
    return local != nullptr && local->name() == ".local";
}

}  // namespace

FolderSystemItem::FolderSystemItem(InlineName name, FolderSystemItem* parent, std::int64_t itemsize,
                                   bool bPack, std::uint8_t timeCode, bool hidden, bool cloud)
    : FileSystemItem(name, parent, 0, timeCode, hidden, cloud), mTotal(itemsize) {
    setBit(kFolderBit | kTotalStaleBit, true);
    if (isTrashFolder(relativePath(), parent)) {
        setTrashFlag(true);
    }
    if (bPack) {
        SetitsLeafPackage();
    }
}

FolderSystemItem::~FolderSystemItem() {
    // A child held elsewhere must not keep pointing at this folder.
    for (const ItemRef& child : children) {
        child->setParent(nullptr);
    }
}

FolderRef FolderSystemItem::initWithPathSize(std::string_view path, FolderSystemItem* parent,
                                             std::int64_t itemsize, bool bPack,
                                             std::uint8_t timeCode, bool hidden, bool cloud) {
    FolderRef folder =
        initWithPathSizeNoParent(path, parent, itemsize, bPack, timeCode, hidden, cloud);
    attach(parent, folder);
    return folder;
}

FolderRef FolderSystemItem::initWithPathSizeNoParent(std::string_view path,
                                                     FolderSystemItem* parent,
                                                     std::int64_t itemsize, bool bPack,
                                                     std::uint8_t timeCode, bool hidden,
                                                     bool cloud) {
    return allocate<FolderSystemItem>(path, parent, itemsize, bPack, timeCode, hidden, cloud);
}

FolderRef FolderSystemItem::initWithPathSize(std::string_view path, FolderSystemItem* parent,
                                             std::int64_t itemsize, bool bPack, ItemList adopted,
                                             std::uint8_t timeCode, bool hidden, bool cloud) {
    FolderRef folder =
        initWithPathSizeNoParent(path, parent, itemsize, bPack, timeCode, hidden, cloud);
    if (!bPack) {
        folder->children.assign(std::move(adopted));
        for (const ItemRef& child : folder->children) {
            child->setParent(folder.get());
        }
    }
    return folder;
}

FolderSystemItem* FolderSystemItem::rootItem() {
    static const FolderRef root = initWithPathSizeNoParent("/", nullptr, 0, false, 0, false, false);
    return root.get();
}

void FolderSystemItem::SetitsLeafPackage() {
    setPackageBit();
    children.clear();
}

// ---- Children

bool FolderSystemItem::containsObject(const FileSystemItem* child) const {
    return std::any_of(children.begin(), children.end(),
                       [child](const ItemRef& c) { return c.get() == child; });
}

void FolderSystemItem::addChild(ItemRef child) {
    if (packageBit()) {
        return;
    }
    children.push_back(std::move(child));
    markTotalStale();
}

void FolderSystemItem::removeChild(const FileSystemItem* child) {
    auto it = std::find_if(children.begin(), children.end(),
                           [child](const ItemRef& c) { return c.get() == child; });
    if (it != children.end()) {
        children.erase(static_cast<std::size_t>(it - children.begin()));
        markTotalStale();
    }
}

void FolderSystemItem::removeChildAndRecalc(const FileSystemItem* child) {
    if (!containsObject(child)) {
        return;
    }
    decreaseTotalSize(child->gettotalsize());
    removeChild(child);
}

void FolderSystemItem::replaceChild(const FileSystemItem* child, ItemRef replacement) {
    auto it = std::find_if(children.begin(), children.end(),
                           [child](const ItemRef& c) { return c.get() == child; });
    if (it != children.end()) {
        *it = std::move(replacement);
        markTotalStale();
    }
}

FileSystemItem* FolderSystemItem::childAtIndex(std::size_t index) const {
    if (packageBit() || index >= children.size()) {
        return nullptr;
    }
    return children[index].get();
}

namespace {

struct SortKey {
    std::int64_t size;
    std::uint64_t nameOrder;  // numericOrderKey() of the name
    std::string_view name;    // read once: the name's length is not stored
    bool special;
};

// Ordinary children first, largest first, then by numeric name order.
bool sortsBefore(const SortKey& a, const SortKey& b) {
    if (a.special != b.special) {
        return b.special;
    }
    if (a.size != b.size) {
        return a.size > b.size;
    }
    if (a.nameOrder != b.nameOrder) {
        return a.nameOrder < b.nameOrder;
    }
    return compareNumeric(a.name, b.name) < 0;
}

constexpr std::size_t kKeptSortBuffer = 4096;

SortKey keyOf(const FileSystemItem& child) {
    const std::string_view name = child.relativePath();
    return {child.gettotalsize(), numericOrderKey(name), name,
            child.isInaccessible() || child.isUnscanned()};
}

}  // namespace

bool listsBefore(const FileSystemItem& a, const FileSystemItem& b) {
    return sortsBefore(keyOf(a), keyOf(b));
}

void FolderSystemItem::sortOwnChildrenBySize() {
    setSorted(true);
    if (children.size() < 2) {
        return;
    }
    // Sizes are read once per child instead of once per comparison, into a
    // buffer each thread keeps from folder to folder.
    thread_local std::vector<std::pair<SortKey, ItemRef>> keyed;
    keyed.clear();
    for (ItemRef& child : children) {
        keyed.emplace_back(keyOf(*child), std::move(child));
    }
    std::sort(keyed.begin(), keyed.end(),
              [](const auto& a, const auto& b) { return sortsBefore(a.first, b.first); });
    for (std::size_t i = 0; i < keyed.size(); ++i) {
        children[i] = std::move(keyed[i].second);
    }
    if (keyed.capacity() > kKeptSortBuffer) {
        keyed = {};  // one huge folder does not hold its buffer for good
    }
}

void FolderSystemItem::sortChildrenBySize(bool force) {
    if (children.empty() || (isSorted() && !force)) {
        return;
    }
    sortOwnChildrenBySize();
    for (const ItemRef& child : children) {
        if (child->isDir() && !child->isPack()) {
            static_cast<FolderSystemItem*>(child.get())->sortChildrenBySize(force);
        }
    }
}

void FolderSystemItem::insertChildSorting(ItemRef child) {
    if (packageBit()) {
        return;
    }
    std::int64_t size = child->gettotalsize();
    auto at = std::find_if(children.begin(), children.end(), [&](const ItemRef& c) {
        std::int64_t other = c->gettotalsize();
        return other < size ||
               (other == size && compareNumeric(c->relativePath(), child->relativePath()) > 0);
    });
    children.insert(static_cast<std::size_t>(at - children.begin()), std::move(child));
    markTotalStale();
}

std::int64_t FolderSystemItem::specialItemsSize(std::size_t* outIndex) const {
    if (children.empty()) {
        if (outIndex != nullptr) {
            *outIndex = 0;
        }
        return 0;
    }
    std::int64_t sum = 0;
    std::size_t first = children.size();
    while (first > 0 && children[first - 1]->isSpecial()) {
        --first;
        sum += children[first]->gettotalsize();
    }
    if (outIndex != nullptr) {
        *outIndex = first;
    }
    return sum;
}

// ---- Sizes

void FolderSystemItem::addFileSize(std::int64_t size) {
    mTotal.fetch_add(size, std::memory_order_relaxed);
}

void FolderSystemItem::addFileSizeForAll(std::int64_t size) {
    if (!packageBit()) {
        std::fputs("ERROR! called function not for package\n", stderr);
        return;
    }
    addOwnBlocks(size);
    markTotalStale();
}

std::int64_t FolderSystemItem::gettotalsize() const {
    return storedTotal();
}

std::int64_t FolderSystemItem::sumOfChildren() {
    std::int64_t sum = 0;
    for (const ItemRef& child : children) {
        sum += child->calctotalsize();
    }
    return sum;
}

std::int64_t FolderSystemItem::calctotalsize() {
    const std::int64_t total = ownCountedSize() + (packageBit() ? 0 : sumOfChildren());
    storeTotal(total);
    setBit(kTotalStaleBit, false);
    return total;
}

void FolderSystemItem::markTotalStale() {
    for (FolderSystemItem* folder = this; folder != nullptr && !folder->hasBit(kTotalStaleBit);
         folder = folder->getParent()) {
        folder->setBit(kTotalStaleBit, true);
    }
}

std::int64_t FolderSystemItem::recountChanged(std::int64_t* maxSizes, int curLevel) {
    if (!hasBit(kTotalStaleBit)) {
        return storedTotal();  // its sizes, and their largest per level, are as last counted
    }
    setBit(kTotalStaleBit, false);
    std::int64_t sum = ownCountedSize();
    if (!packageBit()) {
        for (const ItemRef& child : children) {
            FileSystemItem* node = child.get();
            sum +=
                node->hasBit(kFolderBit) && !node->isCutItem()
                    ? static_cast<FolderSystemItem*>(node)->recountChanged(maxSizes, curLevel + 1)
                    : node->calcTotalSizeWithMaxSizes(maxSizes, curLevel + 1);
        }
    }
    storeTotal(sum);
    if (maxSizes != nullptr && curLevel >= 0 && curLevel < 14) {
        maxSizes[curLevel] = std::max(maxSizes[curLevel], sum);
    }
    return sum;
}

std::int64_t FolderSystemItem::calcTotalSizeWithMaxSizes(std::int64_t* maxSizes, int curLevel) {
    std::int64_t sum = ownCountedSize();
    if (!packageBit()) {
        for (const ItemRef& child : children) {
            sum += child->calcTotalSizeWithMaxSizes(maxSizes, curLevel + 1);
        }
    }
    storeTotal(sum);
    setBit(kTotalStaleBit, false);
    if (maxSizes != nullptr && curLevel >= 0 && curLevel < 14) {
        maxSizes[curLevel] = std::max(maxSizes[curLevel], sum);
    }
    return sum;
}

void FolderSystemItem::increaseTotalSize(std::int64_t amount) {
    for (FolderSystemItem* folder = this; folder != nullptr; folder = folder->getParent()) {
        folder->addFileSize(amount);
    }
}

void FolderSystemItem::decreaseTotalSize(std::int64_t amount) {
    increaseTotalSize(-amount);
}

// ---- Lookup

bool FolderSystemItem::findItemByPathComponents(const std::vector<std::string_view>& comps,
                                                std::size_t offset, ItemRef& result) {
    if (offset >= comps.size() || comps[offset] != relativePath()) {
        return false;
    }
    if (offset + 1 == comps.size()) {
        result = this;
        return true;
    }
    if (packageBit()) {
        // Nothing inside a package has a node of its own.
        result = nullptr;
        return true;
    }
    for (const ItemRef& child : children) {
        if (child->findItemByPathComponents(comps, offset + 1, result)) {
            return true;
        }
    }
    return false;
}

bool FolderSystemItem::findFolderItemByPathComponents(const std::vector<std::string_view>& comps,
                                                      std::size_t offset, ItemRef& result) {
    if (offset >= comps.size() || comps[offset] != relativePath()) {
        return false;
    }
    if (packageBit()) {
        result = nullptr;
        return true;
    }
    if (offset + 1 == comps.size()) {
        result = this;
        return true;
    }
    for (const ItemRef& child : children) {
        if (child->findFolderItemByPathComponents(comps, offset + 1, result)) {
            return true;
        }
    }
    result = createFolderItemByComponents(comps, offset + 1);
    return true;
}

FolderSystemItem* FolderSystemItem::createFolderItemByComponents(
    const std::vector<std::string_view>& comps, std::size_t offset) {
    FolderSystemItem* folder = this;
    for (std::size_t i = offset; i < comps.size(); ++i) {
        bool hidden = !comps[i].empty() && comps[i].front() == '.';
        folder = initWithPathSize(comps[i], folder, 0, false, 1, hidden, false).get();
        folder->getParent()->setSorted(false, true);
    }
    return folder;
}

FolderSystemItem* FolderSystemItem::getFolderItemByFolderPath(std::string_view path,
                                                              bool createIfNotExist) {
    std::string own = fullPath();
    if (path == own) {
        return this;
    }
    std::vector<std::string_view> ownComps = pathComponents(own);
    std::vector<std::string_view> comps = pathComponents(path);
    if (!Utilmod::isFolderParent(own, &ownComps, path, &comps) || packageBit()) {
        return nullptr;
    }
    ItemRef result;
    for (const ItemRef& child : children) {
        if (child->findFolderItemByPathComponents(comps, ownComps.size(), result)) {
            return result != nullptr && result->isDir()
                       ? static_cast<FolderSystemItem*>(result.get())
                       : nullptr;
        }
    }
    return createIfNotExist ? createFolderItemByComponents(comps, ownComps.size()) : nullptr;
}

// ---- Depth, biggest files, collection

int FolderSystemItem::calcChildDepth() {
    if (packageBit() || children.empty()) {
        return 0;
    }
    int deepest = 0;
    for (const ItemRef& child : children) {
        deepest = std::max(deepest, child->getChildDepth());
    }
    return deepest + 1;
}

void FolderSystemItem::fillBiggestFilesArray(ItemList& list) {
    for (const ItemRef& child : children) {
        if (child->isDir() && !child->isPack()) {
            child->fillBiggestFilesArray(list);
        } else {
            child->insert2BiggestFilesArray(list);
        }
    }
}

void FolderSystemItem::cleanCollected() {
    setCollected(false);
    for (const ItemRef& child : children) {
        child->cleanCollected();
    }
}

namespace {

// The path of a child, built on the parent's path kept in `path`; restored on
// destruction so the caller's buffer is reused down the whole walk.
class ChildPath {
  public:
    ChildPath(std::string& path, std::string_view name) : mPath(path), mSize(path.size()) {
        if (mPath.empty() || mPath.back() != '/') {
            mPath.push_back('/');
        }
        mPath.append(name);
    }
    ~ChildPath() { mPath.resize(mSize); }
    ChildPath(const ChildPath&) = delete;
    ChildPath& operator=(const ChildPath&) = delete;

  private:
    std::string& mPath;
    std::size_t mSize;
};

bool containsPath(const std::vector<std::string>& paths, const std::string& path) {
    return std::find(paths.begin(), paths.end(), path) != paths.end();
}

bool anyBeginsWith(const std::vector<std::string>& paths, const std::string& prefix) {
    return std::any_of(paths.begin(), paths.end(),
                       [&](const std::string& p) { return p.starts_with(prefix); });
}

}  // namespace

void FolderSystemItem::markAddedToCollection(const std::vector<std::string>& paths,
                                             std::string& myPath) {
    if (packageBit()) {
        FileSystemItem::markAddedToCollection(paths, myPath);
        return;
    }
    if (containsPath(paths, myPath)) {
        setCollected(true);
        for (const ItemRef& child : children) {
            child->cleanCollected();
        }
    } else if (anyBeginsWith(paths, myPath)) {
        for (const ItemRef& child : children) {
            ChildPath childPath(myPath, child->relativePath());
            child->markAddedToCollection(paths, myPath);
        }
    }
}

void FolderSystemItem::markRemovedFromCollection(const std::vector<std::string>& paths,
                                                 std::string& myPath) {
    if (containsPath(paths, myPath)) {
        cleanCollected();
    } else if (!packageBit() && anyBeginsWith(paths, myPath)) {
        for (const ItemRef& child : children) {
            ChildPath childPath(myPath, child->relativePath());
            child->markRemovedFromCollection(paths, myPath);
        }
    }
}

// ---- Dates

FileSystemItemAttributes& FolderSystemItem::attributes() {
    setBit(kDatesBit, true);
    return rareNodeFields::attributes(this, fullPath());
}

// ---- Duplication

void FolderSystemItem::duplicateChildrenInto(FolderSystemItem& copy) const {
    for (const ItemRef& child : children) {
        child->addDuplicateToParent(&copy);
    }
}

ItemRef FolderSystemItem::addDuplicateToParent(FolderSystemItem* parent) const {
    FolderRef copy = initWithPathSize(relativePath(), parent, storedTotal(), packageBit(),
                                      getTimeCode(), isHiddenFlag(), isCloudStored());
    copy->storeSize(ownCountedSize());
    if (!packageBit()) {
        duplicateChildrenInto(*copy);
    }
    return copy;
}

void FolderSystemItem::handChildrenTo(FolderSystemItem& other, bool repoint) {
    other.children = std::move(children);
    if (repoint) {
        for (const ItemRef& child : other.children) {
            child->setParent(&other);
        }
    }
}

}  // namespace korvex
