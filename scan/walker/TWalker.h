#pragma once

#include "platform/ConditionLock.h"
#include "platform/dispatch/DispatchGroup.h"
#include "platform/fs/DirectoryReader.h"
#include "scan/tree/FolderSystemItem.h"
#include "scan/walker/BiggestFilesSink.h"
#include "scan/walker/FolderDescriptor.h"
#include "scan/walker/HardLinkRegistry.h"

#include <array>
#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace korvex {

class CSWalkOperation;
class TWalker;

// What the four workers of one scan share: one condition lock each (0 idle,
// 1 work or a wake-up waiting), the worker table and the count of workers
// that hold a task. One set per scan, so that a cancelled scan whose workers
// are still winding down never hands work to the workers of the next one.
// The scan's hard links and facts of its mount are shared here as well.
struct TWalkerPool {
    static constexpr int kWorkers = 4;
    std::array<platform::ConditionLock, kWorkers> locks;
    std::array<TWalker*, kWorkers> workers{};
    std::atomic<int> activeWorkers{0};
    HardLinkRegistry hardLinks;
    // Files of on-demand remote mounts may be only stubs on this machine.
    bool onDemandMount = false;
    // The device of the scan root, which every folder read shares.
    std::atomic<std::uint32_t> devMajor{0};
    std::atomic<std::uint32_t> devMinor{0};
    // Folders held open for their subfolders (see FolderDescriptor).
    std::atomic<int> heldFolders{0};
    const int mostHeldFolders = FolderDescriptor::mostHeld();
};

// One of the four scan workers. It reads folders depth-first with the bulk
// directory read, creates detached nodes and hands them to the main thread,
// which attaches them; it never touches the tree itself.
class TWalker {
  public:
    static constexpr std::size_t kBufferSize = 25'600;
    static constexpr std::uint64_t kDefaultSize4Update = 100'000'000;

    TWalker(int nID, std::shared_ptr<platform::DispatchGroup> group, CSWalkOperation* progressor,
            std::shared_ptr<TWalkerPool> pool);
    ~TWalker();
    TWalker(const TWalker&) = delete;
    TWalker& operator=(const TWalker&) = delete;

    void setFinalizeGroup(std::shared_ptr<platform::DispatchGroup> group) {
        m_FinalizeGroup = std::move(group);
    }
    void setBigController(BiggestFilesSink* controller) { mpBiggestFilesController = controller; }
    void setSize4Update(std::uint64_t bytes) { mnSize4Update = bytes; }

    void start();
    // Waits for the thread body to return.
    void join();

    // Hands a folder to an idle worker; false when none is free.
    bool tryDispacthWorkPath(const std::string& path, FolderSystemItem* folder,
                             bool bAddFolderManually);

    // Shutdown: with `notCancelled` false the last tree update marks the end
    // of a cancelled scan.
    void finalizeWork(bool notCancelled);
    void cancelTwalker();
    bool isMainFinished() const { return mbMainFinished.load(); }

    // Main thread only.
    const std::vector<std::string>& getFoldersWithDenied() const { return foldersWithDeniedItems; }
    std::size_t getArrayItemCount() const;
    void doUpdateProgress();
    void doForceUpdateProgress(bool ordinaryUpdate);

    // Totals of the worker; read once it has finished.
    std::int64_t getsz() const { return mnsz; }
    std::int32_t getfound() const { return mnfound; }

  private:
    struct StackEntry {
        FolderRef folder;
        std::string path;
        // The open parent folder, when it is held; null opens by path.
        std::shared_ptr<const FolderDescriptor> parent;
    };
    // Nodes made since the last hand-over to the main thread, owned by the
    // worker thread; the main thread only sees them once handed over.
    struct PendingNodes {
        ItemList files;
        ItemList folders;
        ItemList packages;
        // Bytes counted into a folder itself: a package's content, the
        // blocks of links and special files, a scan root's own blocks.
        std::vector<std::pair<FolderRef, std::int64_t>> ownBytes;
        std::vector<std::pair<FolderRef, std::string>> denied;
        // Folders read to the end: all their children are among the nodes
        // handed over so far.
        std::vector<FolderRef> complete;
        std::size_t count() const {
            return files.size() + folders.size() + packages.size() + ownBytes.size() +
                   denied.size() + complete.size();
        }
    };

    void main();
    void setScanTaskPath(std::string path) { scanTaskPath = std::move(path); }
    void setParentFolder(FolderSystemItem* folder, bool bAddFolderManually);
    void iterateFolderStack(const std::string& path, FolderSystemItem* parent);
    void finishTask();
    // Reads one folder; answers the bytes counted.
    void readFolder(StackEntry& entry, std::uint64_t& taskBytes, std::uint64_t& lastUpdateBytes,
                    int& entriesSinceUpdate);
    // Classifies one entry; answers the bytes it counts.
    std::int64_t ProcesFileSystemElement(const platform::DirectoryEntry& entry,
                                         FolderSystemItem* parent, const std::string& folderPath,
                                         std::uint64_t device);
    // Reads the folder `name` of `folderPath` into `node`: handed to an idle
    // worker, or stacked for this one.
    void pushFolder(FolderSystemItem* node, const std::string& folderPath, std::string_view name);
    // Counts bytes into the folder itself, on the main thread at hand-over.
    void addOwnBytes(FolderSystemItem* folder, std::int64_t bytes);
    // Queues the pending nodes to the main thread, with a tree update when asked.
    void handOverPending(bool withUpdate);
    void finalizeCancelWork() { mstack.clear(); }

    int nID;
    std::atomic<bool> bWORKing{true};
    std::atomic<bool> BCancelled{false};
    std::atomic<bool> mbMainFinished{false};
    FolderSystemItem* pstartParent = nullptr;
    std::shared_ptr<platform::DispatchGroup> m_group;
    std::shared_ptr<platform::DispatchGroup> m_FinalizeGroup;
    std::uint64_t mnSize4Update = kDefaultSize4Update;
    CSWalkOperation* progressor;
    std::int64_t mnsz = 0;
    std::int32_t mnfound = 0;
    // Main-thread side: nodes handed over and waiting to be attached.
    ItemList fileArray;
    ItemList folderArray;
    ItemList packageArray;
    std::vector<FolderRef> completeArray;
    BiggestFilesSink* mpBiggestFilesController = nullptr;
    ItemList allPackagesArray;
    std::vector<std::string> foldersWithDeniedItems;
    // Worker side.
    std::vector<StackEntry> mstack;
    PendingNodes mPending;
    std::vector<char> attrBuffer;
    std::vector<platform::DirectoryEntry> mEntries;
    // The folder being read, when it is held for its subfolders.
    std::shared_ptr<const FolderDescriptor> mReading;
    std::optional<std::string> scanTaskPath;

    std::shared_ptr<TWalkerPool> mPool;
    std::thread mThread;
};

}  // namespace korvex
