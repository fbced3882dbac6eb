#include "scan/model/CSWalkOperation.h"

#include "platform/dispatch/MainQueue.h"
#include "platform/fs/CanonicalPath.h"
#include "platform/mounts/MountTable.h"
#include "scan/model/CModel.h"
#include "scan/model/ScanLabels.h"
#include "scan/tree/ParallelTreeSort.h"
#include "scan/tree/SpecialSystemItem.h"
#include "scan/tree/VolumeSystemItem.h"
#include "scan/walker/TWalker.h"

namespace korvex {

CSWalkOperation::CSWalkOperation(FolderRef root, CModel* parent)
    : mparent(parent),
      resultroot(std::move(root)),
      mGroup(std::make_shared<platform::DispatchGroup>()) {
    mStartPath = resultroot->fullPath();
}

CSWalkOperation::~CSWalkOperation() = default;

void CSWalkOperation::main() {
    if (isCancelled()) {
        mbWasCancelled = true;  // cancelled while it waited: report that at once
    } else if (resultroot->isVol()) {
        _purgeableGetOperation = PurgeableSpaceMeasure::makeForPath(mStartPath);
        if (_purgeableGetOperation != nullptr) {
            _purgeableGetOperation->performWithCompletion(nullptr);
        }
    }
    if (!wasCancelled()) {
        mthscanStack();
    }
    CModel* model = mparent;
    bool cancelled = wasCancelled() || isCancelled();
    auto self = std::static_pointer_cast<CSWalkOperation>(shared_from_this());
    platform::MainQueue::shared().async([model, cancelled, self] {
        if (cancelled) {
            model->walkcanceled(self.get());
        } else {
            model->walkfinished(self.get());
        }
    });
}

void CSWalkOperation::mthscanStack() {
    mpFoldersWithDeniedItems.clear();
    auto pool = std::make_shared<TWalkerPool>();
    if (auto mount = platform::mountForPath(platform::listMounts(), mStartPath)) {
        pool->onDemandMount = platform::isOnDemandFileSystem(mount->fsType);
    }
    {
        std::lock_guard guard(mWalkersMutex);
        for (int i = 0; i < TWalkerPool::kWorkers; ++i) {
            auto walker = std::make_unique<TWalker>(i, mGroup, this, pool);
            walker->setFinalizeGroup(mGroup);
            walker->setBigController(mpBiggestFilesController);
            walker->setSize4Update(mnOcSize / 3600);
            if (wasCancelled()) {
                walker->cancelTwalker();
            }
            wlkrs[static_cast<std::size_t>(i)] = std::move(walker);
        }
        for (auto& walker : wlkrs) {
            walker->start();
        }
        wlkrs.back()->tryDispacthWorkPath(mStartPath, resultroot.get(), true);
    }

    // The last worker to go idle wakes this thread; then what the workers
    // queued for the main thread drains, unless a cancel cuts that short.
    for (int active = pool->activeWorkers.load(); active != 0;
         active = pool->activeWorkers.load()) {
        pool->activeWorkers.wait(active);
    }
    mGroup->waitUnless([this] { return wasCancelled(); });
    bool cancelled = wasCancelled();
    for (auto& walker : wlkrs) {
        walker->finalizeWork(!cancelled);
    }
    mGroup->wait(std::chrono::seconds(1));
    for (auto& walker : wlkrs) {
        walker->join();
        mnFoundItems += walker->getfound();
    }

    // The tree is changed on the main thread only: the diagram may be drawing
    // it, so the final sort and the synthetic nodes go there too. The sort
    // borrows other cores while the main thread waits for it.
    runOnMainAndWait([this, &pool] {
        settleHardLinks(pool->hardLinks);
        // Settling marked the folders it changed; a volume counts everything
        // again, for its largest sizes per level may have to come down.
        reportProgress(!resultroot->isVol());
        if (mSortsFinishedTree) {
            sortTreeBySizeInParallel(*resultroot);
        } else {
            resultroot->sortOwnChildrenBySize();
        }
    });
    if (!cancelled) {
        runOnMainAndWait([this] {
            for (auto& walker : wlkrs) {
                const auto& denied = walker->getFoldersWithDenied();
                mpFoldersWithDeniedItems.insert(mpFoldersWithDeniedItems.end(), denied.begin(),
                                                denied.end());
            }
            // Only a volume gains nodes here; a folder's totals stand as counted.
            if (resultroot->isVol()) {
                processFoldersWithDenied();
                reportProgress(false);
            }
            if (mpBiggestFilesController != nullptr) {
                mpBiggestFilesController->tryUpdateTableByScanning();
            }
        });
    } else {
        runOnMainAndWait([this] { createPurgeableDiskSpaceItemIfPossible(); });
    }
    // Everything the workers queued has run before the scan reports.
    runOnMainAndWait([] {});
    std::lock_guard guard(mWalkersMutex);
    for (auto& walker : wlkrs) {
        walker.reset();
    }
}

void CSWalkOperation::settleHardLinks(HardLinkRegistry& links) {
    ItemList holders = links.settle();
    if (mpBiggestFilesController == nullptr) {
        return;
    }
    const std::int64_t threshold = mpBiggestFilesController->getPorogforScan();
    for (const ItemRef& holder : holders) {
        if (holder->gettotalsize() >= threshold) {
            mpBiggestFilesController->tryAddtoScanArray(holder.get(), false);
        }
    }
}

void CSWalkOperation::runOnMainAndWait(std::function<void()> block) {
    platform::MainQueue::shared().async(*mGroup, std::move(block));
    mGroup->wait();
}

void CSWalkOperation::cancelWalking() {
    mbWasCancelled = true;
    std::lock_guard guard(mWalkersMutex);
    for (auto& walker : wlkrs) {
        if (walker != nullptr) {
            walker->cancelTwalker();
        }
    }
    if (mGroup != nullptr) {
        mGroup->wakeWaiters();
    }
}

void CSWalkOperation::tryUpdateProgress2(TWalker*) {
    // While the workers add nodes only what changed is counted again.
    reportProgress(true);
}

void CSWalkOperation::reportProgress(bool changedOnly) {
    {
        std::lock_guard monitor(mRootMonitor);
        nprogress =
            changedOnly ? resultroot->recountChangedTotals() : resultroot->calctotalsizeex();
    }
    mparent->updateprogress(nprogress);
}

std::int64_t CSWalkOperation::createPurgeableDiskSpaceItemIfPossible() {
    if (!resultroot->isVol() || _purgeableGetOperation == nullptr) {
        return 0;
    }
    // Caches inside the tree are counted there and marked; the extra node
    // holds only what the scan could not see.
    std::int64_t size = _purgeableGetOperation->purgeableSpaceValue();
    for (const std::string& folder : _purgeableGetOperation->measuredFolders()) {
        ItemRef node = resultroot->getItemByFilePath(platform::canonicalPath(folder));
        if (node != nullptr && node->isDirectory()) {
            node->setPurgeableCache();
            const auto& cache = static_cast<const FolderSystemItem&>(*node);
            size -= cache.gettotalsize() - cache.ownCountedSize();
        }
    }
    if (size <= 0) {
        return 0;
    }
    SpecialSystemItem::initWithType(SpecialSystemItem::Purgeable, resultroot.get(),
                                    scanLabels::purgeableDiskSpace(), size);
    resultroot->increaseTotalSize(size);
    return size;
}

void CSWalkOperation::processFoldersWithDenied() {
    std::int64_t gap = resultroot->getOccSize() - resultroot->gettotalsize();
    createPurgeableDiskSpaceItemIfPossible();
    if (gap >= 1) {
        SpecialSystemItem::initWithType(SpecialSystemItem::Inaccessible, resultroot.get(),
                                        scanLabels::inaccessibleDiskSpace(), gap);
        resultroot->increaseTotalSize(gap);
    }
}

}  // namespace korvex
