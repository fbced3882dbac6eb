#pragma once

#include "platform/dispatch/DispatchGroup.h"
#include "platform/dispatch/OperationQueue.h"
#include "scan/model/PurgeableSpaceMeasure.h"
#include "scan/tree/FolderSystemItem.h"
#include "scan/walker/BiggestFilesSink.h"

#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace korvex {

class CModel;
class HardLinkRegistry;
class TWalker;

// One scan: owns the four workers for its length, seeds them with the root,
// waits for them to drain, finalises the tree and reports to the model.
class CSWalkOperation : public platform::Operation {
  public:
    CSWalkOperation(FolderRef root, CModel* parent);
    ~CSWalkOperation() override;
    static std::shared_ptr<CSWalkOperation> initWithRoot(FolderRef root, CModel* parent) {
        return std::make_shared<CSWalkOperation>(std::move(root), parent);
    }

    void setBigController(BiggestFilesSink* controller) { mpBiggestFilesController = controller; }
    void setOcSize(std::uint64_t bytes) { mnOcSize = bytes; }
    // Whether every folder of the finished tree is put in list order (the
    // window's lists and diagram want it), or only the root's children.
    void setSortsFinishedTree(bool on) { mSortsFinishedTree = on; }
    const std::string& startPath() const { return mStartPath; }
    void setStartPath(std::string path) { mStartPath = std::move(path); }
    const std::shared_ptr<PurgeableSpaceMeasure>& purgeableGetOperation() const {
        return _purgeableGetOperation;
    }
    void setPurgeableGetOperation(std::shared_ptr<PurgeableSpaceMeasure> op) {
        _purgeableGetOperation = std::move(op);
    }

    const FolderRef& root() const { return resultroot; }
    void main() override;
    void cancelWalking();
    bool wasCancelled() const { return mbWasCancelled.load(); }

    // Main thread: recomputes the totals and tells the model.
    void tryUpdateProgress2(TWalker* walker);
    std::int64_t getcountedsize() const { return nprogress; }

    // Folders whose open failed, gathered at the end of a normal scan.
    const std::vector<std::string>& foldersWithDenied() const { return mpFoldersWithDeniedItems; }
    // Entries read and bytes counted by all workers, once the scan has ended.
    std::int64_t entriesRead() const { return mnFoundItems; }

  private:
    void mthscanStack();
    // Counts the totals again, only the folders marked as changed or all of
    // them, and tells the model.
    void reportProgress(bool changedOnly);
    // A volume root gains its purgeable space and the space no scan could
    // see as nodes of their own.
    void processFoldersWithDenied();
    // Moves each hard-linked inode's bytes to its first link in path order
    // and offers those links to the biggest-files list.
    void settleHardLinks(HardLinkRegistry& links);
    std::int64_t createPurgeableDiskSpaceItemIfPossible();
    // Runs `block` on the main thread in the scan's group and waits for it.
    void runOnMainAndWait(std::function<void()> block);

    CModel* mparent;
    FolderRef resultroot;
    std::int64_t nprogress = 0;
    std::int64_t mnFoundItems = 0;
    std::uint64_t mnOcSize = 0;
    bool mSortsFinishedTree = true;
    std::string mStartPath;
    std::atomic<bool> mbWasCancelled{false};
    std::array<std::unique_ptr<TWalker>, 4> wlkrs;
    BiggestFilesSink* mpBiggestFilesController = nullptr;
    std::vector<std::string> mpFoldersWithDeniedItems;
    std::shared_ptr<PurgeableSpaceMeasure> _purgeableGetOperation;
    std::shared_ptr<platform::DispatchGroup> mGroup;
    std::mutex mRootMonitor;
    // Guards `wlkrs` against a cancel arriving from the main thread.
    std::mutex mWalkersMutex;
};

}  // namespace korvex
