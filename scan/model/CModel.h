#pragma once

#include "platform/dispatch/MainQueue.h"
#include "platform/dispatch/OperationQueue.h"
#include "scan/model/ScanningInfoObserver.h"
#include "scan/targets/VolumeItem.h"
#include "scan/tree/FolderSystemItem.h"
#include "scan/walker/BiggestFilesSink.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace korvex {

class CSWalkOperation;

// The scan model: the list of mounted volumes, the tree of the current or
// last scan, and one scan at a time on its own operation queue. Lives on the
// main thread and reports by notifications.
class CModel {
  public:
    explicit CModel(ScanningInfoObserver* observer = nullptr);
    ~CModel();
    CModel(const CModel&) = delete;
    CModel& operator=(const CModel&) = delete;

    // Cancels any running scan and starts one; answers the new root, which
    // fills while the scan runs.
    FolderRef StartWalkWithPath(const std::string& path, std::uint64_t ocSize,
                                BiggestFilesSink* bigController);
    // Whether scans put every folder of their tree in list order when they
    // end (the default), or only the root's children: a report of the root
    // and of the biggest files needs no more (see biggestFilesInListOrder),
    // and ordering a tree of millions takes a while.
    void setSortsFinishedTrees(bool on) { mSortsFinishedTrees = on; }
    void StopWalking();

    const FolderRef& getRootItem() const { return mresultroot; }
    // While "FinishWalkingVolume" or "WalkingVolumeCanceled" is delivered: the
    // root of the scan that reports, which a newer scan may have replaced.
    const FolderRef& reportingRoot() const { return mReportingRoot; }
    const std::vector<std::shared_ptr<VolumeItem>>& getVolumesInfo() const { return arrVolumes; }
    std::shared_ptr<VolumeItem> getVolumeItemWithPath(const std::string& path) const;
    bool hasScannedPath(const std::string& path) const;
    void ClearResultsTree() { mresultroot.reset(); }
    const std::string& startPath() const { return _startPath; }
    void setStartPath(const std::string& path);
    bool isScanning() const;
    // Entries read and folders that could not be opened by the last scan.
    std::int64_t lastEntriesRead() const { return mLastEntriesRead; }
    const std::vector<std::string>& lastDeniedFolders() const { return mLastDenied; }

    // ---- Volume list
    void enumerateVolumes();
    bool updateVolumesInfo();
    std::shared_ptr<VolumeItem> addVolumeAtPath(
        const std::string& path, std::vector<std::shared_ptr<VolumeItem>>* inArray = nullptr);
    void removeVolFromList(const std::string& path);
    std::vector<std::string> mountedVolumePaths() const;
    void checkIfValidVolumeAtPath(const std::string& path,
                                  std::vector<std::shared_ptr<VolumeItem>>* andAddTo = nullptr);

    // ---- Called by the scan operation on the main thread
    void updateprogress(std::int64_t counted);
    // `from` tells which scan reports; a replaced scan's report does not
    // touch the tree of the scan that replaced it.
    void walkfinished(const CSWalkOperation* from = nullptr);
    void walkcanceled(const CSWalkOperation* from = nullptr);
    void addUnscannedItem();

  private:
    void initRootItem(const std::string& path);
    void updatePath();
    void rememberResults(const CSWalkOperation& operation);

    std::vector<std::shared_ptr<VolumeItem>> arrVolumes;
    FolderRef mresultroot;
    std::unique_ptr<platform::OperationQueue> asyncQueue;
    std::string _startPath;
    ScanningInfoObserver* _scanningInfoObserver;
    std::shared_ptr<CSWalkOperation> mCurrentOperation;
    std::int64_t mLastEntriesRead = 0;
    std::vector<std::string> mLastDenied;
    bool mSortsFinishedTrees = true;
    bool mPathWatchRunning = false;
    // The pending idle check, cancelled when the model goes first.
    platform::MainQueue::TimerId mPathWatchTimer = 0;
    FolderRef mReportingRoot;
};

}  // namespace korvex
