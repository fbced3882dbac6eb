#include "scan/walker/TWalker.h"

#include "platform/LimitedTimePerformer.h"
#include "platform/dispatch/MainQueue.h"
#include "scan/model/CSWalkOperation.h"
#include "scan/skip/PackageRules.h"

#include <algorithm>
#include <chrono>

namespace korvex {

namespace {

constexpr auto kSystemCallLimit = std::chrono::seconds(30);
// Pending nodes are handed to the main thread in batches of about this many,
// so memory stays bounded between progress updates.
constexpr std::size_t kHandOverBatch = 4096;

std::atomic<int> gExistingWorkers{0};

// Tree updates asked for by the workers run on the main thread at most every
// 0.1 seconds, and, when an update takes long (a big tree to recount, a
// window to redraw), no sooner than kUpdateCostFactor times its own time
// after it began: the updates never take more than a share of the main
// thread, which then keeps up with the workers' hand-overs. Process-wide,
// like the main thread.
constexpr auto kUpdateInterval = std::chrono::milliseconds(100);
constexpr int kUpdateCostFactor = 4;
std::chrono::steady_clock::time_point gNextUpdate;

}  // namespace

TWalker::TWalker(int id, std::shared_ptr<platform::DispatchGroup> group, CSWalkOperation* progress,
                 std::shared_ptr<TWalkerPool> pool)
    : nID(id),
      m_group(std::move(group)),
      progressor(progress),
      attrBuffer(kBufferSize),
      mPool(std::move(pool)) {
    gExistingWorkers.fetch_add(1);
    if (nID >= 0 && nID < TWalkerPool::kWorkers) {
        mPool->workers[static_cast<std::size_t>(nID)] = this;
    }
}

TWalker::~TWalker() {
    join();
    // Held folders count themselves out in the pool, which may go with us.
    mstack.clear();
    mReading.reset();
    gExistingWorkers.fetch_sub(1);
}

void TWalker::start() {
    mThread = std::thread([this] { main(); });
}

void TWalker::join() {
    if (mThread.joinable()) {
        mThread.join();
    }
}

void TWalker::main() {
    platform::ConditionLock& lock = mPool->locks[static_cast<std::size_t>(nID)];
    // Every way out of this loop leaves the lock held for good, so nothing can
    // be handed to a worker that has finished.
    while (true) {
        if (BCancelled) {
            lock.lockAnyCondition();
            break;
        }
        lock.lockWhenCondition(1);
        if (scanTaskPath) {
            std::string path = std::move(*scanTaskPath);
            scanTaskPath.reset();
            iterateFolderStack(path, pstartParent);
            if (BCancelled) {
                finishTask();
                break;
            }
            // Idle before the scan may see it so: once the last task is
            // reported done, the end of the scan must find every worker's
            // lock free to wake it, or that worker would sleep for good.
            lock.unlockWithCondition(0);
            finishTask();
            continue;
        }
        if (!bWORKing) {
            break;
        }
        lock.unlockWithCondition(0);
    }
    if (scanTaskPath) {
        // Handed over, but the scan was cancelled before it started.
        scanTaskPath.reset();
        finishTask();
    }
    mbMainFinished = true;
    if (BCancelled) {
        finalizeCancelWork();
    }
}

void TWalker::finishTask() {
    // The hand-over counted this worker as active and entered the group for
    // it, so the scan never looks idle between a hand-over and its start.
    if (mPool->activeWorkers.fetch_sub(1) == 1) {
        mPool->activeWorkers.notify_all();
    }
    m_group->leave();
}

bool TWalker::tryDispacthWorkPath(const std::string& path, FolderSystemItem* folder,
                                  bool bAddFolderManually) {
    if (mPool->activeWorkers.load() == TWalkerPool::kWorkers) {
        return false;
    }
    for (int slot = 0; slot < TWalkerPool::kWorkers; ++slot) {
        if (slot == nID && !bAddFolderManually) {
            continue;
        }
        platform::ConditionLock& lock = mPool->locks[static_cast<std::size_t>(slot)];
        if (!lock.tryLockWhenCondition(0)) {
            continue;
        }
        TWalker* worker = mPool->workers[static_cast<std::size_t>(slot)];
        worker->setScanTaskPath(path);
        worker->setParentFolder(folder, bAddFolderManually);
        mPool->activeWorkers.fetch_add(1);
        worker->m_group->enter();
        lock.unlockWithCondition(1);
        return true;
    }
    return false;
}

void TWalker::setParentFolder(FolderSystemItem* folder, bool bAddFolderManually) {
    pstartParent = folder;
    if (bAddFolderManually) {
        // Only the seeding of the root comes here, before any work started.
        (folder->isPack() ? packageArray : folderArray).emplace_back(folder);
    }
}

void TWalker::iterateFolderStack(const std::string& path, FolderSystemItem* parent) {
    std::uint64_t taskBytes = 0;
    std::uint64_t lastUpdateBytes = 0;
    int entriesSinceUpdate = 0;
    mstack.push_back({parent, path, nullptr});  // a task opens its folder by path
    while (!mstack.empty() && !BCancelled) {
        StackEntry entry = std::move(mstack.back());
        mstack.pop_back();
        readFolder(entry, taskBytes, lastUpdateBytes, entriesSinceUpdate);
    }
    handOverPending(false);
}

void TWalker::readFolder(StackEntry& entry, std::uint64_t& taskBytes,
                         std::uint64_t& lastUpdateBytes, int& entriesSinceUpdate) {
    const std::string& path = entry.path;
    // A scan root was met as nobody's entry: its device and own blocks come
    // from the folder itself. Any other folder is on the root's device (other
    // mounts are not entered) and its blocks were counted from its entry.
    const bool root = entry.folder->getParent() == nullptr;
    platform::DirectoryHandle dir = platform::LimitedTimePerformer::perform(
        kSystemCallLimit, platform::DirectoryHandle{}, "iterateFolderStack; open", path, [&] {
            return root ? platform::DirectoryReader::openDirectory(path)
                        : platform::DirectoryReader::openDirectoryOnDevice(
                              path, mPool->devMajor.load(), mPool->devMinor.load(),
                              entry.parent ? entry.parent->get() : -1);
        });
    entry.parent.reset();
    if (!dir.valid()) {
        mPending.denied.emplace_back(entry.folder, path);
        return;
    }
    if (root) {
        mPool->devMajor = dir.devMajor;
        mPool->devMinor = dir.devMinor;
        addOwnBytes(entry.folder.get(), static_cast<std::int64_t>(dir.allocatedSize));
    }
    const std::uint64_t device = (std::uint64_t{dir.devMajor} << 32) | dir.devMinor;
    mReading = FolderDescriptor::hold(dir.fd, mPool->heldFolders, mPool->mostHeldFolders);
    int refused = 0;
    while (!BCancelled) {
        platform::BatchCounts counts = platform::LimitedTimePerformer::perform(
            kSystemCallLimit, platform::BatchCounts{-1, 0}, "iterateFolderStack; -> getdents64()",
            path, [&] {
                return platform::DirectoryReader::readBatch(dir, attrBuffer.data(),
                                                            attrBuffer.size(), mEntries);
            });
        if (counts.read <= 0) {
            break;
        }
        mnfound += counts.read;
        refused += counts.refused;
        for (const platform::DirectoryEntry& dirEntry : mEntries) {
            if (BCancelled) {
                break;
            }
            std::int64_t bytes =
                ProcesFileSystemElement(dirEntry, entry.folder.get(), path, device);
            mnsz += bytes;
            taskBytes += static_cast<std::uint64_t>(bytes);
            ++entriesSinceUpdate;
        }
        bool update = mnSize4Update != 0
                          ? taskBytes - lastUpdateBytes > mnSize4Update
                          : entriesSinceUpdate >= 301 && static_cast<double>(taskBytes) * 1.1 >
                                                             static_cast<double>(lastUpdateBytes);
        if (update) {
            handOverPending(true);
            lastUpdateBytes = taskBytes;
            entriesSinceUpdate = 0;
        } else if (mPending.count() >= kHandOverBatch) {
            handOverPending(false);
        }
    }
    if (refused > 0) {
        // Listed but not searchable: what is inside cannot be sized.
        mPending.denied.emplace_back(entry.folder, path);
    }
    if (mReading != nullptr) {
        // Closed with the last subfolder opened in it; closing a folder read
        // to its end is no call that can hang.
        mReading.reset();
    } else {
        platform::LimitedTimePerformer::perform(
            kSystemCallLimit, -1, "iterateFolderStack; close", path,
            [&] { return platform::DirectoryReader::close(dir); });
    }
    if (!BCancelled) {
        mPending.complete.push_back(entry.folder);
    }
}

std::int64_t TWalker::ProcesFileSystemElement(const platform::DirectoryEntry& entry,
                                              FolderSystemItem* parent,
                                              const std::string& folderPath, std::uint64_t device) {
    using platform::EntryType;
    const bool isFolder = entry.type == EntryType::Directory;
    if (isFolder && entry.isMountPoint) {
        // Other volumes below the scanned one are not entered.
        return 0;
    }
    std::int64_t allocated = static_cast<std::int64_t>(entry.allocatedSize);
    if (!isFolder && entry.linkCount > 1 && !mPool->hardLinks.claim({device, entry.inode})) {
        allocated = 0;  // this inode's blocks are counted at another link already
    }
    if (parent->isPack() || (!isFolder && entry.type != EntryType::Regular)) {
        // Links, devices, sockets and pipes get no node, nor does anything
        // inside a package: their blocks count into the folder that holds them.
        if (allocated != 0) {
            addOwnBytes(parent, allocated);
        }
        if (isFolder) {
            pushFolder(parent, folderPath, entry.name);
        }
        return allocated;
    }
    // Only files of on-demand remote mounts are stubs; elsewhere a file with
    // few blocks for its length is sparse, and takes what it allocated.
    const bool cloud =
        mPool->onDemandMount && entry.logicalSize != 0 &&
        static_cast<double>(entry.allocatedSize) / static_cast<double>(entry.logicalSize) < 0.1;
    std::string_view name = entry.name;
    const bool hidden = isHiddenName(name);
    if (isFolder) {
        FolderRef folder =
            FolderSystemItem::initWithPathSizeNoParent(name, parent, 0, false, 0, hidden, cloud);
        folder->addOwnBlocks(allocated);
        if (isPackageName(name)) {
            folder->SetitsLeafPackage();
            mPending.packages.push_back(folder);
        } else {
            mPending.folders.push_back(folder);
        }
        pushFolder(folder.get(), folderPath, name);
        return allocated;
    }
    ItemRef file =
        FileSystemItem::initWithPathSizeNoParent(name, parent, allocated, 0, hidden, cloud);
    if (entry.linkCount > 1) {
        mPool->hardLinks.remember({device, entry.inode}, file);
    }
    mPending.files.push_back(std::move(file));
    return allocated;
}

void TWalker::pushFolder(FolderSystemItem* node, const std::string& folderPath,
                         std::string_view name) {
    std::string childPath = folderPath;
    if (childPath.empty() || childPath.back() != '/') {
        childPath.push_back('/');
    }
    childPath.append(name);
    if (mstack.empty() || !tryDispacthWorkPath(childPath, node, false)) {
        mstack.push_back({node, std::move(childPath), mReading});
    }
}

void TWalker::addOwnBytes(FolderSystemItem* folder, std::int64_t bytes) {
    if (!mPending.ownBytes.empty() && mPending.ownBytes.back().first == folder) {
        mPending.ownBytes.back().second += bytes;
    } else {
        mPending.ownBytes.emplace_back(folder, bytes);
    }
}

void TWalker::handOverPending(bool withUpdate) {
    if (mPending.count() == 0 && !withUpdate) {
        return;
    }
    auto batch = std::make_shared<PendingNodes>(std::move(mPending));
    mPending = PendingNodes();
    platform::MainQueue::shared().async(*m_group, [this, batch, withUpdate] {
        auto append = [](auto& to, auto& from) {
            to.insert(to.end(), std::make_move_iterator(from.begin()),
                      std::make_move_iterator(from.end()));
        };
        append(fileArray, batch->files);
        append(folderArray, batch->folders);
        append(packageArray, batch->packages);
        append(completeArray, batch->complete);
        for (auto& [folder, bytes] : batch->ownBytes) {
            folder->addOwnBlocks(bytes);
            folder->markTotalStale();
        }
        for (auto& [folder, path] : batch->denied) {
            folder->setAccessDenied(true);
            foldersWithDeniedItems.push_back(std::move(path));
        }
        if (withUpdate) {
            doUpdateProgress();
        }
    });
}

std::size_t TWalker::getArrayItemCount() const {
    return fileArray.size() + folderArray.size() + packageArray.size();
}

void TWalker::doUpdateProgress() {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    if (start < gNextUpdate) {
        return;
    }
    doForceUpdateProgress(true);
    const Clock::duration spent = Clock::now() - start;
    gNextUpdate = start + std::max<Clock::duration>(kUpdateInterval, spent * kUpdateCostFactor);
}

void TWalker::doForceUpdateProgress(bool ordinaryUpdate) {
    BiggestFilesSink* big = mpBiggestFilesController;
    const std::int64_t threshold = big != nullptr ? big->getPorogforScan() : 0;
    bool offerTaken = false;
    for (ItemRef& file : fileArray) {
        FileSystemItem* node = file.get();
        node->getParent()->addChild(std::move(file));
        // Hard links are offered once the scan has settled which one counts.
        if (big != nullptr && !node->isHardLinked() && node->gettotalsize() >= threshold) {
            offerTaken = big->tryAddtoScanArray(node, false) || offerTaken;
        }
    }
    auto attach = [](ItemRef& node) {
        if (FolderSystemItem* parent = node->getParent()) {
            parent->addChild(std::move(node));
        }
    };
    for (ItemRef& folder : folderArray) {
        attach(folder);
    }
    for (ItemRef& package : packageArray) {
        allPackagesArray.push_back(package);
        attach(package);
    }
    for (const FolderRef& folder : completeArray) {
        folder->childrenComplete();
    }
    fileArray.clear();
    folderArray.clear();
    packageArray.clear();
    completeArray.clear();
    for (const ItemRef& package : allPackagesArray) {
        if (package->calctotalsize() >= threshold && big != nullptr) {
            big->tryAddtoScanArray(package.get(), true);
        }
    }
    if (progressor != nullptr) {
        progressor->tryUpdateProgress2(this);
    }
    if (ordinaryUpdate && offerTaken && big != nullptr) {
        big->tryUpdateTableByScanning();
    }
}

void TWalker::finalizeWork(bool notCancelled) {
    platform::ConditionLock& lock = mPool->locks[static_cast<std::size_t>(nID)];
    bool taken = lock.tryLockWhenCondition(0);
    platform::MainQueue::shared().async(
        *m_FinalizeGroup, [this, notCancelled] { doForceUpdateProgress(notCancelled); });
    bWORKing = false;
    if (taken) {
        lock.unlockWithCondition(1);
    }
}

void TWalker::cancelTwalker() {
    BCancelled = true;
    platform::ConditionLock& lock = mPool->locks[static_cast<std::size_t>(nID)];
    if (lock.tryLockWhenCondition(0)) {
        lock.unlockWithCondition(1);
    }
}

}  // namespace korvex
