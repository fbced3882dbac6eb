#pragma once

#include "scan/tree/ItemRef.h"
#include "scan/tree/NodeArena.h"

#include <atomic>
#include <cstdint>
#include <new>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace korvex {

class CopiedFileItem;

// One node of a scanned tree: a file, and the base of every other node kind.
//
// Memory matters here: a scan holds millions of nodes. A node keeps only its
// own name (a root keeps its absolute path), stored next to it in the node
// arena and found by its offset there; all flags share one byte with the time
// code, and that byte shares a word with the reference count. Sizes take 32
// bits (see SizeCode.h) and the parent a 32-bit arena handle: a plain file
// node is 24 bytes plus its name. Full paths are rebuilt on demand. The
// parent is a non-owning back reference: a folder owns its children, and a
// child that outlives its folder is left without a parent.
class FileSystemItem {
    // The flag byte `mntimeCode` (low 8 bits) under the reference count.
    mutable std::atomic<std::uint32_t> mCountAndFlags{0};
    // The name's offset in the node's arena chunk (low bits) under the node
    // bits (kFolderBit, kPackageBit, …).
    std::atomic<std::uint32_t> mNameAndBits;
    // `mnselfsize` of a file; a folder keeps its own blocks here.
    std::atomic<std::uint32_t> mSizeCode;
    std::atomic<nodeArena::Handle> mParent;

  public:
    // Bits of the flag byte `mntimeCode`.
    static constexpr std::uint8_t kTimeCodeMask = 0x0F;
    static constexpr std::uint8_t kCollectedFlag = 0x10;
    static constexpr std::uint8_t kHiddenFlag = 0x20;
    static constexpr std::uint8_t kTrashFlag = 0x40;
    static constexpr std::uint8_t kSortedFlag = 0x80;

    // Attached: appends the new node to the parent's children.
    static ItemRef initWithPathSize(std::string_view path, FolderSystemItem* parent,
                                    std::int64_t itemsize, std::uint8_t timeCode, bool hidden,
                                    bool cloud);
    // Detached: the parent's children are not touched; the caller attaches later.
    static ItemRef initWithPathSizeNoParent(std::string_view path, FolderSystemItem* parent,
                                            std::int64_t itemsize, std::uint8_t timeCode,
                                            bool hidden, bool cloud);

    virtual ~FileSystemItem();
    FileSystemItem(const FileSystemItem&) = delete;
    FileSystemItem& operator=(const FileSystemItem&) = delete;

    // Nodes and their names live in the node arena; see allocate(). The
    // deleting destructor passes the size of the node's own kind.
    static void operator delete(void* p, std::size_t bytes) { nodeArena::release(p, bytes); }

    // The count behind ItemRef (found by argument-dependent lookup).
    friend void intrusive_ptr_add_ref(const FileSystemItem* node) noexcept {
        node->mCountAndFlags.fetch_add(kOneReference, std::memory_order_relaxed);
    }
    friend void intrusive_ptr_release(const FileSystemItem* node) noexcept {
        if (node->mCountAndFlags.fetch_sub(kOneReference, std::memory_order_acq_rel) <
            2 * kOneReference) {
            delete node;
        }
    }

    // ---- Kinds
    virtual bool isUnscanned() const { return false; }
    virtual bool isInaccessible() const { return false; }
    virtual bool isPurgeable() const { return false; }
    virtual bool isCutItem() const { return false; }
    virtual bool isDir() const { return false; }
    virtual bool isPack() const { return false; }
    virtual bool isVol() const { return false; }
    virtual bool isNotScannedVolume() const { return false; }
    virtual bool isNotScannedFolder() const { return false; }
    virtual bool isScanned() const { return false; }
    bool isDirectory() const { return isDir() && !isPack(); }
    bool isSpecial() const { return isUnscanned() || isInaccessible() || isPurgeable(); }
    virtual std::string getDesc() const { return {}; }

    // ---- Paths and lookup
    std::string_view relativePath() const;
    // The node's own name; a root answers the last component of its path.
    std::string_view name() const;
    std::string fullPath() const;
    virtual std::string getFullPath() const { return fullPath(); }
    std::string path() const { return getFullPath(); }
    // Appends the full path to `out`; cheaper than fullPath() in loops.
    void appendFullPath(std::string& out) const;
    void updatePath(std::string_view path);
    // The name shown to the user: the file manager's name for the path, or the
    // stored name for a cloud-stored node, which is not on disk to ask about.
    std::string displayNameAccordingToStorageType() const;
    std::string getDisplayName() const { return displayNameAccordingToStorageType(); }

    FolderSystemItem* getParent() const {
        return static_cast<FolderSystemItem*>(
            nodeArena::fromHandle(mParent.load(std::memory_order_relaxed)));
    }
    void setParent(FolderSystemItem* parent);
    FileSystemItem* getTopParent();
    bool isMyParent(const FileSystemItem* folder) const;
    bool isMe(const FileSystemItem* other) const { return other == this; }

    ItemRef getItemByFilePath(std::string_view path);
    // Component matching used by the lookups; answers whether this branch
    // decided the search (with `result` possibly empty).
    virtual bool findItemByPathComponents(const std::vector<std::string_view>& comps,
                                          std::size_t offset, ItemRef& result);
    virtual bool findFolderItemByPathComponents(const std::vector<std::string_view>& comps,
                                                std::size_t offset, ItemRef& result);

    // ---- Children (a file has none)
    virtual std::size_t numberOfChildren() const { return 0; }
    virtual FileSystemItem* childAtIndex(std::size_t) const { return nullptr; }

    // ---- Sizes
    virtual void addFileSize(std::int64_t) {}
    virtual void addFileSizeForAll(std::int64_t size);
    virtual std::int64_t gettotalsize() const { return storedSize(); }
    virtual std::int64_t calctotalsize();
    virtual std::int64_t calcTotalSizeWithMaxSizes(std::int64_t* maxSizes, int curLevel);
    virtual std::int64_t getWholeItemSize() const { return gettotalsize(); }
    std::int64_t itemSize() const { return gettotalsize(); }
    // `mnselfsize`: a file's own size, a folder's last counted total.
    std::int64_t selfSize() const;

    // ---- Flags
    std::uint8_t getTimeCode() const { return flagByte() & kTimeCodeMask; }
    std::uint8_t flagByte() const {
        return static_cast<std::uint8_t>(mCountAndFlags.load(std::memory_order_relaxed));
    }
    bool isCollected() const { return (flagByte() & kCollectedFlag) != 0; }
    void setCollected(bool on) { setFlag(kCollectedFlag, on); }
    bool isHiddenFlag() const { return (flagByte() & kHiddenFlag) != 0; }
    void setHiddenFlag(bool on) { setFlag(kHiddenFlag, on); }
    bool isTrashFlag() const { return (flagByte() & kTrashFlag) != 0; }
    void setTrashFlag(bool on) { setFlag(kTrashFlag, on); }
    bool isSorted() const { return (flagByte() & kSortedFlag) != 0; }
    void setSorted(bool on) { setFlag(kSortedFlag, on); }
    // With `recurcive`, the same value goes to every ancestor too.
    void setSorted(bool on, bool recurcive);
    bool isTopCollected() const;
    bool isParentCollected() const;
    bool isTopHiddenFlag() const;
    bool isTopTrashFlag() const;
    bool isCloudStored() const { return hasBit(kCloudBit); }
    void setIsCloudStored(bool on) { setBit(kCloudBit, on); }
    bool accessDenied() const { return hasBit(kDeniedBit); }
    void setAccessDenied(bool on) { setBit(kDeniedBit, on); }
    // A file with more than one link: the scan counts its blocks at one of
    // them only, so the others carry no size.
    bool isHardLinked() const { return hasBit(kHardLinkBit); }
    void setHardLinked() { setBit(kHardLinkBit, true); }
    // The cache folder whose contents make up the volume's purgeable space.
    bool isPurgeableCache() const { return hasBit(kPurgeableCacheBit); }
    void setPurgeableCache() { setBit(kPurgeableCacheBit, true); }
    // The size a file node counts; folders sum their children instead.
    void setFileSize(std::int64_t bytes) { storeSize(bytes); }

    // Collection marks follow the removal collection's full paths.
    void updateAddedItemsToCollection(const std::vector<std::string>& paths);
    void updateRemovedItemsInCollection(const std::vector<std::string>& paths);
    virtual void cleanCollected() { setCollected(false); }

    // ---- Depth
    virtual int getChildDepth() { return 0; }
    virtual int calcChildDepth() { return 0; }
    // Steps up to `ancestor` (1 for the direct parent), -1000 when it is not one.
    int calcLevelsToParent(const FileSystemItem* ancestor) const;

    // ---- Biggest files
    virtual void fillBiggestFilesArray(ItemList&) {}
    virtual bool insert2BiggestFilesArray(ItemList& list);
    // For a node that may be listed already (a package that grew): moves it
    // up to its new place instead of listing it twice.
    bool insert2BiggestFilesArrayWithCheck_Added(ItemList& list);

    // ---- Cut items and duplication
    virtual double getdrawkoef() const { return 1.0; }
    virtual void setdrawkoef(double) {}
    virtual ItemRef createOrGetCutItem();
    virtual ItemRef createDuplicatedCutItemForParent(FolderSystemItem* parent,
                                                     std::string_view name);
    virtual bool replaceToSuperItem() { return false; }
    // Makes an attached copy of this node (and, for a folder, its subtree)
    // under `parent`.
    virtual ItemRef addDuplicateToParent(FolderSystemItem* parent) const;

  protected:
    // The node kinds reach into each other's state when they copy or mark.
    friend class FolderSystemItem;
    friend class FileSystemCutItem;
    friend class FolderSystemCutItem;

    // Proof that the name storage was set up by allocate(): the name in the
    // node's chunk, or (when too long for it) only its text. Only this class
    // can make one.
    class InlineName {
      public:
        const char* inChunk;
        std::string_view text;

      private:
        friend class FileSystemItem;
        InlineName(const char* chunkCopy, std::string_view t) : inChunk(chunkCopy), text(t) {}
    };

    FileSystemItem(InlineName name, FolderSystemItem* parent, std::int64_t itemsize,
                   std::uint8_t timeCode, bool hidden, bool cloud);

    // Allocates a node of type T and its name from the node arena.
    template <class T, class... Args>
    static boost::intrusive_ptr<T> allocate(std::string_view name, Args&&... args) {
        static_assert(alignof(T) <= nodeArena::kNodeAlignment);
        const bool inChunk = sizeof(T) + name.size() + 1 <= nodeArena::kMaxPlacement;
        nodeArena::Placement place =
            nodeArena::allocate(sizeof(T), inChunk ? name : std::string_view());
        T* node = nullptr;
        try {
            node = ::new (place.node)
                T(InlineName(inChunk ? place.name : nullptr, name), std::forward<Args>(args)...);
        } catch (...) {
            nodeArena::release(place.node, sizeof(T));
            throw;
        }
        return boost::intrusive_ptr<T>(node);
    }

    // Copies what every node kind shares (flag byte, hidden and cloud flags,
    // denial mark) onto another node.
    void copyCommonStateTo(FileSystemItem& other) const;
    // Recursive workers of the collection marking; `myPath` is this node's path.
    virtual void markAddedToCollection(const std::vector<std::string>& paths, std::string& myPath);
    virtual void markRemovedFromCollection(const std::vector<std::string>& paths,
                                           std::string& myPath);
    static void attach(FolderSystemItem* parent, const ItemRef& child);

    // Bits of the node beside its name's offset.
    static constexpr std::uint32_t kNameOffsetMask = (1U << nodeArena::kOffsetBits) - 1;
    static constexpr std::uint32_t kNameElsewhereBit = 1U << 20;  // renamed, or too long
    static constexpr std::uint32_t kFolderBit = 1U << 21;
    static constexpr std::uint32_t kPackageBit = 1U << 22;
    static constexpr std::uint32_t kHardLinkBit = 1U << 23;
    static constexpr std::uint32_t kPurgeableCacheBit = 1U << 24;
    static constexpr std::uint32_t kCloudBit = 1U << 25;
    static constexpr std::uint32_t kDeniedBit = 1U << 26;
    static constexpr std::uint32_t kDatesBit = 1U << 27;  // a folder's dates were read
    // A folder whose children changed since its total was last counted; its
    // ancestors then carry the bit too.
    static constexpr std::uint32_t kTotalStaleBit = 1U << 28;

    bool hasBit(std::uint32_t bit) const {
        return (mNameAndBits.load(std::memory_order_relaxed) & bit) != 0;
    }
    void setBit(std::uint32_t bit, bool on) {
        if (on) {
            mNameAndBits.fetch_or(bit, std::memory_order_relaxed);
        } else {
            mNameAndBits.fetch_and(~bit, std::memory_order_relaxed);
        }
    }
    // Folders keep their package mark among the node bits.
    bool packageBit() const { return hasBit(kPackageBit); }
    void setPackageBit() { setBit(kPackageBit, true); }

    // The size kept in the node's 32 bits, or beside it when too big.
    std::int64_t storedSize() const;
    void storeSize(std::int64_t bytes);

  private:
    static constexpr std::uint32_t kOneReference = 1U << 8;

    bool selfOrAncestorHas(std::uint8_t flag) const;
    void setFlag(std::uint8_t mask, bool on) {
        if (on) {
            mCountAndFlags.fetch_or(mask, std::memory_order_relaxed);
        } else {
            mCountAndFlags.fetch_and(~std::uint32_t{mask}, std::memory_order_relaxed);
        }
    }
};

}  // namespace korvex
