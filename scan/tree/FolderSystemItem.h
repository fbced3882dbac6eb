#pragma once

#include "scan/tree/ChildList.h"
#include "scan/tree/FileSystemItem.h"
#include "scan/tree/FileSystemItemAttributes.h"

#include <atomic>
#include <optional>

namespace korvex {

// A folder, or a package: a folder shown and sized as one file, whose content
// is only counted into `nAddSize` and never held as children. A folder's own
// blocks (its entry table) are counted into `nAddSize` as well, so its size
// is what the file system allocated for it and everything below it.
//
// `nAddSize` takes the 32 size bits of the node; the folder's total is read
// and changed atomically, so that no folder needs a lock of its own. Dates
// are kept beside the tree once asked for.
class FolderSystemItem : public FileSystemItem {
  public:
    ~FolderSystemItem() override;

    static FolderRef initWithPathSize(std::string_view path, FolderSystemItem* parent,
                                      std::int64_t itemsize, bool bPack, std::uint8_t timeCode,
                                      bool hidden, bool cloud);
    static FolderRef initWithPathSizeNoParent(std::string_view path, FolderSystemItem* parent,
                                              std::int64_t itemsize, bool bPack,
                                              std::uint8_t timeCode, bool hidden, bool cloud);
    // Never attaches; either marks a package or adopts `children`, re-pointing
    // each child's parent to the new folder.
    static FolderRef initWithPathSize(std::string_view path, FolderSystemItem* parent,
                                      std::int64_t itemsize, bool bPack, ItemList children,
                                      std::uint8_t timeCode, bool hidden, bool cloud);
    // One shared folder node for "/", made on first use.
    static FolderSystemItem* rootItem();

    bool isDir() const override { return true; }
    bool isPack() const override { return packageBit(); }
    bool isScanned() const override { return true; }
    void SetitsLeafPackage();

    // ---- Children
    const ChildList& childrenArray() const { return children; }
    bool containsObject(const FileSystemItem* child) const;
    virtual void addChild(ItemRef child);
    // Called once every child is attached: the list drops its growth slack.
    void childrenComplete() { children.shrinkToFit(); }
    // Removes the child from the list; sizes are not touched.
    void removeChild(const FileSystemItem* child);
    // Subtracts the child's size from this folder and its ancestors, then removes it.
    virtual void removeChildAndRecalc(const FileSystemItem* child);
    // Puts `replacement` at the position of `child`; nothing when it is absent.
    void replaceChild(const FileSystemItem* child, ItemRef replacement);
    std::size_t numberOfChildren() const override { return children.size(); }
    FileSystemItem* childAtIndex(std::size_t index) const override;
    // Largest first, equal sizes by numeric name order, inaccessible and
    // unscanned children last; recursive over non-package folders.
    virtual void sortChildrenBySize(bool force);
    // The same for this folder's own children only; folders below keep
    // their order. Each folder may be sorted on a thread of its own.
    void sortOwnChildrenBySize();
    // Inserts before the first child that is smaller (or, at equal size,
    // whose name orders after the new one).
    virtual void insertChildSorting(ItemRef child);
    // Sum of the trailing special children; `outIndex` gets the position of
    // the first of them.
    std::int64_t specialItemsSize(std::size_t* outIndex) const;

    // ---- Sizes
    void addFileSize(std::int64_t size) override;
    void addFileSizeForAll(std::int64_t size) override;
    std::int64_t gettotalsize() const override;
    std::int64_t calctotalsize() override;
    virtual std::int64_t calctotalsizeex() { return calctotalsize(); }
    // While a tree only grows (a scan attaching nodes): counts again only the
    // folders whose children changed since they were last counted and keeps
    // the other totals, so that a progress step costs what changed rather
    // than the whole tree. A volume raises its largest sizes per level.
    virtual std::int64_t recountChangedTotals() { return recountChanged(nullptr, 0); }
    // Marks this folder and its ancestors for recountChangedTotals(); for
    // changes that do not go through the children list (own blocks).
    void markTotalStale();
    std::int64_t calcTotalSizeWithMaxSizes(std::int64_t* maxSizes, int curLevel) override;
    void increaseTotalSize(std::int64_t amount);
    void decreaseTotalSize(std::int64_t amount);
    virtual std::int64_t getOccSize() const { return gettotalsize(); }
    virtual std::int64_t getTheSize() const { return gettotalsize(); }
    std::int64_t calculateTotalSize() const { return getTheSize(); }
    std::int64_t getChildrenCountedSize() const { return gettotalsize(); }
    virtual double getFullRatio() const { return 1.0; }
    virtual bool getUseFreeSector() const { return false; }
    virtual void setUseFreeSector(bool) {}
    virtual bool isMaxSizesValid() const { return false; }
    virtual const std::int64_t* getMaxSizesByLevels() const { return nullptr; }
    virtual void initSizesByLevels() {}
    // The folder's own blocks plus, for a package, everything inside it.
    std::int64_t ownCountedSize() const { return storedSize(); }
    void addOwnBlocks(std::int64_t bytes) { storeSize(storedSize() + bytes); }

    // ---- Lookup
    // Finds a folder below this one, creating missing folders as described
    // for `createIfNotExist` (folders below a matching one are always made).
    FolderSystemItem* getFolderItemByFolderPath(std::string_view path,
                                                bool createIfNotExist = true);
    bool findItemByPathComponents(const std::vector<std::string_view>& comps, std::size_t offset,
                                  ItemRef& result) override;
    bool findFolderItemByPathComponents(const std::vector<std::string_view>& comps,
                                        std::size_t offset, ItemRef& result) override;
    FolderSystemItem* createFolderItemByComponents(const std::vector<std::string_view>& comps,
                                                   std::size_t offset);

    // ---- Depth, biggest files, collection
    int getChildDepth() override { return calcChildDepth(); }
    int calcChildDepth() override;
    void fillBiggestFilesArray(ItemList& list) override;
    void cleanCollected() override;

    // ---- Dates
    FileSystemItemAttributes& attributes();
    std::optional<FileDate> getModificationDate() { return attributes().fileModificationDate; }
    std::optional<FileDate> getCreationDate() { return attributes().fileCreationDate; }
    std::optional<FileDate> getLastAcccessDate() { return attributes().lastAccessDate; }

    // ---- Cut items, duplication and tree updates after file operations
    ItemRef createOrGetCutItem() override;
    ItemRef createDuplicatedCutItemForParent(FolderSystemItem* parent,
                                             std::string_view name) override;
    ItemRef addDuplicateToParent(FolderSystemItem* parent) const override;
    // Replaces the nodes of `paths` by cut items at coefficient 1.0, listed in
    // `resItems`; answers whether any was replaced.
    bool updateRemovingItemsByPaths(const std::vector<std::string>& paths, ItemList& resItems);
    // Adds cut copies (coefficient 0.0) of copied or moved items into the
    // folder at `toFolder`, found or created below this root.
    bool addFileItems(const std::vector<CopiedFileItem>& items, std::string_view toFolder,
                      ItemList& resItems);
    bool addFileItems(const std::vector<CopiedFileItem>& items, ItemList& resItems);

  protected:
    friend class FileSystemItem;
    friend class FolderSystemCutItem;
    using FileSystemItem::FileSystemItem;
    FolderSystemItem(InlineName name, FolderSystemItem* parent, std::int64_t itemsize, bool bPack,
                     std::uint8_t timeCode, bool hidden, bool cloud);

    // Moves this folder's children into `other` (re-pointing their parents
    // when `repoint`), leaving this folder empty unless it is a package.
    void handChildrenTo(FolderSystemItem& other, bool repoint);
    void duplicateChildrenInto(FolderSystemItem& copy) const;
    void markAddedToCollection(const std::vector<std::string>& paths, std::string& myPath) override;
    void markRemovedFromCollection(const std::vector<std::string>& paths,
                                   std::string& myPath) override;
    std::int64_t sumOfChildren();
    std::int64_t recountChanged(std::int64_t* maxSizes, int curLevel);
    // `mnselfsize` of a folder.
    std::int64_t storedTotal() const { return mTotal.load(std::memory_order_relaxed); }
    void storeTotal(std::int64_t bytes) { mTotal.store(bytes, std::memory_order_relaxed); }

    ChildList children;
    std::atomic<std::int64_t> mTotal;
};

// Whether `a` comes before its sibling `b` in a folder's list order: ordinary
// children first, largest first, equal sizes by numeric name order.
bool listsBefore(const FileSystemItem& a, const FileSystemItem& b);

}  // namespace korvex
