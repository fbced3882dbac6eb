#pragma once

#include "scan/tree/AbsolutePathItem.h"
#include "scan/tree/FileSystemItemAttributes.h"
#include "scan/tree/FolderSystemItem.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace korvex {

// A scan target offered in the targets list: a mounted volume or a folder the
// user added. It answers the same questions as a tree node (mostly neutrally)
// so that the diagram and the lists can show a target that is not scanned yet.
class TopLevelItem {
  public:
    enum ScanningState : std::int64_t {
        NeverScanned = 0,
        Scanning = 1,
        Cancelled = 2,
        Scanned = 3
    };

    TopLevelItem(std::string path, std::string name, std::int64_t size, std::int64_t nfreesize,
                 std::int64_t nodes);
    virtual ~TopLevelItem() = default;
    TopLevelItem(const TopLevelItem&) = delete;
    TopLevelItem& operator=(const TopLevelItem&) = delete;

    // ---- Node-like answers
    const std::string& getName() const { return pname; }
    const std::string& getPath() const { return ppath; }
    const std::string& relativePath() const { return pname; }
    const std::string& getFullPath() const { return ppath; }
    std::string getDisplayName() const;
    std::int64_t getsize() const { return nsize; }
    std::int64_t getfsize() const { return nfreesize; }
    std::int64_t getnodescount() const { return nnodes; }
    // Space kept free for the administrator: neither used nor available.
    std::int64_t getReservedSize() const { return nreserved; }
    void setReservedSize(std::int64_t bytes) { nreserved = bytes; }
    std::int64_t getValence() const { return mnValence; }
    void setValence(std::int64_t valence) { mnValence = valence; }
    std::int64_t gettotalsize() const { return getOccSize(); }
    std::int64_t getOccSize() const { return nsize - nfreesize - nreserved; }
    std::int64_t getWholeItemSize() const { return nsize; }
    std::int64_t getChildrenCountedSize() const { return getOccSize(); }
    double getFullRatio() const;
    std::int64_t getTheSize() const { return getUseFreeSector() ? nsize : getOccSize(); }
    std::int64_t calculateTotalSize() const;
    bool isScanned() const { return _scannedRoot != nullptr; }
    ItemRef getItemByFilePath(std::string_view path) const;
    std::size_t numberOfChildren() const { return aFiles.size(); }
    FileSystemItem* childAtIndex(std::size_t index) const;
    const std::vector<boost::intrusive_ptr<AbsolutePathItem>>& childrenArray() const {
        return aFiles;
    }
    const std::optional<FileDate>& getModificationDate() const { return pmodDate; }
    const std::optional<FileDate>& getCreationDate() const { return pcreatedDate; }
    const std::optional<FileDate>& getLastAcccessDate() const { return paccDate; }

    // ---- Kinds
    virtual bool isVol() const { return false; }
    virtual bool isFolder() const { return false; }
    virtual bool isNotScannedVolume() const { return false; }
    virtual bool isNotScannedFolder() const { return false; }
    virtual bool getUseFreeSector() const { return false; }
    virtual void setUseFreeSector(bool) {}

    // ---- Scan state
    std::int64_t scanningState() const { return _scanningState; }
    void setScanningState(std::int64_t state) { _scanningState = state; }
    const FolderRef& scannedRoot() const { return _scannedRoot; }
    void setScannedRoot(FolderRef root) { _scannedRoot = std::move(root); }
    // What the scan that made the scanned root read; unknown until it ended.
    std::optional<std::int64_t> entriesRead() const {
        return _scannedRoot != nullptr && _scannedRoot.get() == _entriesRoot
                   ? std::optional(_entriesRead)
                   : std::nullopt;
    }
    void setEntriesRead(std::int64_t count) {
        _entriesRoot = _scannedRoot.get();
        _entriesRead = count;
    }

    // ---- Tree forwarding; each does nothing before a scan
    ItemList updateRemovingItemsByPaths(const std::vector<std::string>& paths);
    bool addFileItems(const std::vector<CopiedFileItem>& items, std::string_view toFolder,
                      ItemList& resItems);
    void updateAddedItemsToCollection(const std::vector<std::string>& paths);
    void updateRemovedItemsInCollection(const std::vector<std::string>& paths);

    // ---- Files list
    void clearFilesList() { aFiles.clear(); }
    void addFileItemToList(const std::string& path);
    virtual void reinitFilesList() {}

    // ---- Change detection
    virtual bool isEqual(const TopLevelItem& other) const;
    virtual void setPropsFrom(const TopLevelItem& other);

  protected:
    void initDates();

    std::vector<boost::intrusive_ptr<AbsolutePathItem>> aFiles;
    std::string pname;
    std::string ppath;
    std::optional<FileDate> pcreatedDate;
    std::optional<FileDate> pmodDate;
    std::optional<FileDate> paccDate;
    std::int64_t nsize;
    std::int64_t nfreesize;
    std::int64_t nnodes;
    std::int64_t nreserved = 0;
    std::int64_t mnValence = 0;
    std::int64_t _scanningState = NeverScanned;
    FolderRef _scannedRoot;
    // Only compared with the scanned root, never followed.
    const void* _entriesRoot = nullptr;
    std::int64_t _entriesRead = 0;
};

using TopLevelRef = std::shared_ptr<TopLevelItem>;

}  // namespace korvex
