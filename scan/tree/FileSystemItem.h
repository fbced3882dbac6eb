#pragma once

#include "scan/tree/ItemRef.h"
#include "scan/tree/NodeArena.h"

#include <cstdint>
#include <cstring>
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
// arena, and all flags share one byte with the time code. Full paths
// are rebuilt on demand. The parent is a non-owning back reference: a folder
// owns its children, and a subtree must not be used after its root is gone.
class FileSystemItem : public boost::intrusive_ref_counter<FileSystemItem> {
    // The small fields come first so they share the word with the reference
    // count: a plain file node is 40 bytes plus its name.
    std::uint8_t mntimeCode;
    bool _isCloudStored;
    bool _accessDenied;
    std::uint8_t mNodeBits = 0;  // kNameOwnedBit, kPackageBit, kHardLinkBit, …

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
    std::string_view relativePath() const { return mName; }
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

    FolderSystemItem* getParent() const { return mParent; }
    void setParent(FolderSystemItem* parent) { mParent = parent; }
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
    virtual std::int64_t gettotalsize() const { return mnselfsize; }
    virtual std::int64_t calctotalsize();
    virtual std::int64_t calcTotalSizeWithMaxSizes(std::int64_t* maxSizes, int curLevel);
    virtual std::int64_t getWholeItemSize() const { return gettotalsize(); }
    std::int64_t itemSize() const { return gettotalsize(); }
    std::int64_t selfSize() const { return mnselfsize; }

    // ---- Flags
    std::uint8_t getTimeCode() const { return mntimeCode & kTimeCodeMask; }
    std::uint8_t flagByte() const { return mntimeCode; }
    bool isCollected() const { return (mntimeCode & kCollectedFlag) != 0; }
    void setCollected(bool on) { setFlag(kCollectedFlag, on); }
    bool isHiddenFlag() const { return (mntimeCode & kHiddenFlag) != 0; }
    void setHiddenFlag(bool on) { setFlag(kHiddenFlag, on); }
    bool isTrashFlag() const { return (mntimeCode & kTrashFlag) != 0; }
    void setTrashFlag(bool on) { setFlag(kTrashFlag, on); }
    bool isSorted() const { return (mntimeCode & kSortedFlag) != 0; }
    void setSorted(bool on) { setFlag(kSortedFlag, on); }
    // With `recurcive`, the same value goes to every ancestor too.
    void setSorted(bool on, bool recurcive);
    bool isTopCollected() const;
    bool isParentCollected() const;
    bool isTopHiddenFlag() const;
    bool isTopTrashFlag() const;
    bool isCloudStored() const { return _isCloudStored; }
    void setIsCloudStored(bool on) { _isCloudStored = on; }
    bool accessDenied() const { return _accessDenied; }
    void setAccessDenied(bool on) { _accessDenied = on; }
    // A file with more than one link: the scan counts its blocks at one of
    // them only, so the others carry no size.
    bool isHardLinked() const { return (mNodeBits & kHardLinkBit) != 0; }
    void setHardLinked() { mNodeBits |= kHardLinkBit; }
    // The cache folder whose contents make up the volume's purgeable space.
    bool isPurgeableCache() const { return (mNodeBits & kPurgeableCacheBit) != 0; }
    void setPurgeableCache() { mNodeBits |= kPurgeableCacheBit; }
    // The size a file node counts; folders sum their children instead.
    void setFileSize(std::int64_t bytes) { mnselfsize = bytes; }

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

    // Proof that the name storage was set up by allocate(); only this class
    // can make one.
    class InlineName {
      public:
        const char* text;

      private:
        friend class FileSystemItem;
        explicit InlineName(const char* t) : text(t) {}
    };

    FileSystemItem(InlineName name, FolderSystemItem* parent, std::int64_t itemsize,
                   std::uint8_t timeCode, bool hidden, bool cloud);

    // Allocates a node of type T and its name from the node arena.
    template <class T, class... Args>
    static boost::intrusive_ptr<T> allocate(std::string_view name, Args&&... args) {
        static_assert(alignof(T) <= nodeArena::kNodeAlignment);
        nodeArena::Placement place = nodeArena::allocate(sizeof(T), name.size() + 1);
        std::memcpy(place.name, name.data(), name.size());
        place.name[name.size()] = '\0';
        T* node = nullptr;
        try {
            node = ::new (place.node) T(InlineName(place.name), std::forward<Args>(args)...);
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

    // Folders keep their package mark here, in the word the node has spare.
    bool packageBit() const { return (mNodeBits & kPackageBit) != 0; }
    void setPackageBit() { mNodeBits |= kPackageBit; }

    std::int64_t mnselfsize;

  private:
    static constexpr std::uint8_t kNameOwnedBit = 0x01;  // renamed: mName is a heap copy
    static constexpr std::uint8_t kPackageBit = 0x02;
    static constexpr std::uint8_t kHardLinkBit = 0x04;
    static constexpr std::uint8_t kPurgeableCacheBit = 0x08;

    bool selfOrAncestorHas(std::uint8_t flag) const;
    void setFlag(std::uint8_t mask, bool on) {
        mntimeCode = static_cast<std::uint8_t>(on ? (mntimeCode | mask) : (mntimeCode & ~mask));
    }

    FolderSystemItem* mParent;
    const char* mName;  // `relativePath`
};

}  // namespace korvex
