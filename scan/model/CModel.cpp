#include "scan/model/CModel.h"

#include "platform/dispatch/MainQueue.h"
#include "platform/dispatch/NotificationCenter.h"
#include "platform/fs/CanonicalPath.h"
#include "scan/model/CSWalkOperation.h"
#include "scan/model/ScanLabels.h"
#include "scan/model/ScanNotifications.h"
#include "scan/tree/SpecialSystemItem.h"
#include "scan/tree/VolumeSystemItem.h"

#include <algorithm>

namespace korvex {

namespace {
constexpr auto kIdleCheckInterval = std::chrono::milliseconds(100);
}

CModel::CModel(ScanningInfoObserver* observer) : _scanningInfoObserver(observer) {}

CModel::~CModel() {
    StopWalking();
    if (asyncQueue != nullptr) {
        // The scan waits for blocks it queued on the main thread, which is
        // this one: keep serving them until it has reported.
        platform::MainQueue::shared().runUntil(
            [this] { return asyncQueue->operationCount() == 0; });
        platform::MainQueue::shared().runPending();
    }
    if (mPathWatchRunning) {
        platform::MainQueue::shared().cancelTimer(mPathWatchTimer);
    }
    setStartPath({});
    arrVolumes.clear();
    mresultroot.reset();
}

FolderRef CModel::StartWalkWithPath(const std::string& givenPath, std::uint64_t ocSize,
                                    BiggestFilesSink* bigController) {
    // A link to a folder, or a relative path, is scanned as the folder it names.
    const std::string path = platform::canonicalPath(givenPath);
    StopWalking();
    setStartPath(path);
    if (asyncQueue == nullptr) {
        asyncQueue = std::make_unique<platform::OperationQueue>();
    }
    initRootItem(path);
    auto operation = CSWalkOperation::initWithRoot(mresultroot, this);
    operation->setBigController(bigController);
    operation->setOcSize(ocSize);
    operation->setSortsFinishedTree(mSortsFinishedTrees);
    mCurrentOperation = operation;
    asyncQueue->addOperation(operation);
    return mresultroot;
}

void CModel::initRootItem(const std::string& path) {
    mresultroot.reset();
    if (auto volume = getVolumeItemWithPath(path)) {
        mresultroot = VolumeSystemItem::initWithPath(path, volume->getsize(), volume->getfsize());
        static_cast<VolumeSystemItem*>(mresultroot.get())
            ->setVolReservedSize(volume->getReservedSize());
        return;
    }
    std::string_view name = path;
    if (std::size_t slash = name.rfind('/'); slash != std::string_view::npos) {
        name = name.substr(slash + 1);
    }
    mresultroot = FolderSystemItem::initWithPathSizeNoParent(path, nullptr, 0, false, 0,
                                                             name.starts_with('.'), false);
}

void CModel::StopWalking() {
    if (asyncQueue == nullptr || asyncQueue->operationCount() == 0) {
        return;
    }
    if (mCurrentOperation != nullptr) {
        mCurrentOperation->cancelWalking();
    }
    asyncQueue->cancelAllOperations();
    updatePath();
}

// Clears the start path once the queue has emptied, checking every 0.1 s.
void CModel::updatePath() {
    if (mPathWatchRunning) {
        return;
    }
    mPathWatchRunning = true;
    mPathWatchTimer = platform::MainQueue::shared().after(kIdleCheckInterval, [this] {
        mPathWatchRunning = false;
        if (asyncQueue->operationCount() == 0) {
            setStartPath({});
        } else {
            updatePath();
        }
    });
}

std::shared_ptr<VolumeItem> CModel::getVolumeItemWithPath(const std::string& path) const {
    auto it = std::find_if(arrVolumes.begin(), arrVolumes.end(),
                           [&](const auto& volume) { return volume->getPath() == path; });
    return it != arrVolumes.end() ? *it : nullptr;
}

bool CModel::hasScannedPath(const std::string& path) const {
    return mresultroot != nullptr && mresultroot->getItemByFilePath(path) != nullptr;
}

void CModel::setStartPath(const std::string& path) {
    if (path == _startPath) {
        return;
    }
    _startPath = path;
    if (_scanningInfoObserver != nullptr) {
        _scanningInfoObserver->setScanningPath(path);
    }
}

bool CModel::isScanning() const {
    if (_scanningInfoObserver != nullptr) {
        return _scanningInfoObserver->isScanning();
    }
    return !_startPath.empty();
}

void CModel::updateprogress(std::int64_t counted) {
    platform::NotificationCenter::defaultCenter().post(scanNotifications::kUpdateProgress, counted);
}

void CModel::rememberResults(const CSWalkOperation& operation) {
    mLastEntriesRead = operation.entriesRead();
    mLastDenied = operation.foldersWithDenied();
}

void CModel::walkfinished(const CSWalkOperation* from) {
    mReportingRoot = from != nullptr ? from->root() : mresultroot;
    if (from != nullptr && from == mCurrentOperation.get()) {
        rememberResults(*from);
        mCurrentOperation.reset();
    }
    platform::NotificationCenter::defaultCenter().post(scanNotifications::kFinishWalkingVolume,
                                                       this);
    mReportingRoot.reset();
}

void CModel::walkcanceled(const CSWalkOperation* from) {
    mReportingRoot = from != nullptr ? from->root() : mresultroot;
    // A scan replaced by a newer one still reports its cancel, but leaves the
    // newer scan's tree alone.
    if (from == nullptr || from == mCurrentOperation.get()) {
        addUnscannedItem();
        if (from != nullptr) {
            rememberResults(*from);
            mCurrentOperation.reset();
        }
    }
    platform::NotificationCenter::defaultCenter().post(scanNotifications::kWalkingVolumeCanceled,
                                                       this);
    mReportingRoot.reset();
}

void CModel::addUnscannedItem() {
    if (mresultroot == nullptr || !mresultroot->isVol()) {
        return;
    }
    std::int64_t rest = mresultroot->getOccSize() - mresultroot->gettotalsize();
    if (rest >= 1) {
        SpecialSystemItem::initWithType(SpecialSystemItem::Unscanned, mresultroot.get(),
                                        scanLabels::unscannedDiskSpace(), rest);
        mresultroot->increaseTotalSize(rest);
    }
}

}  // namespace korvex
