#pragma once

#include "cleanup/purgeable/DiskSpaceRecoveryOperation.h"
#include "cleanup/purgeable/PurgeableSpaceCleanerListener.h"
#include "cleanup/purgeable/PurgeableSpaceCleanerWindow.h"
#include "cleanup/purgeable/PurgeableSpaceGetOperation.h"
#include "platform/dispatch/MainQueue.h"
#include "scan/tree/SpecialSystemItem.h"
#include "scan/tree/VolumeSystemItem.h"

#include <chrono>
#include <map>
#include <optional>
#include <vector>

namespace korvex {

// The user's XDG cache folder, /var/cache, /var/tmp and /tmp.
std::vector<std::string> defaultVanishingFolders();

struct PurgeableSpaceCleanerConfiguration {
    const platform::DiskSpaceRecoveryService* service =
        &platform::DiskSpaceRecoveryService::shared();
    // Where entries vanish when the space is released.
    std::vector<std::string> vanishingFolders = defaultVanishingFolders();
    std::chrono::milliseconds refreshInterval{300000};
    std::chrono::milliseconds progressCheckInterval{10000};
    int shrinkSteps = 10;
    std::chrono::milliseconds shrinkStepInterval{30};
};

// Keeps the purgeable nodes of the scanned volumes at the amount the recovery
// service reports, and frees that space on request. One per main window, made
// and used on the main queue. Measurements run one volume at a time, the
// volume queued last first; at most one free-up runs.
//
// Wiring: the window implements PurgeableSpaceCleanerWindow and passes itself
// to setWindow(); the removal collection is the listener; the application's
// active/inactive changes go to applicationDidBecomeActive() and
// applicationDidResignActive(); the purgeable sector's menu item calls
// freeUpPurgeableSpace().
class PurgeableSpaceCleaner : public DiskSpaceRecoveryOperationListener,
                              public std::enable_shared_from_this<PurgeableSpaceCleaner> {
  public:
    using Configuration = PurgeableSpaceCleanerConfiguration;

    static std::shared_ptr<PurgeableSpaceCleaner> create(Configuration configuration = {});
    ~PurgeableSpaceCleaner() override;

    // Not owned; clear them before they go.
    void setListener(PurgeableSpaceCleanerListener* listener) { mListener = listener; }
    void setWindow(PurgeableSpaceCleanerWindow* window) { mWindow = window; }

    // ---- Measuring
    // Queues the volume of `node` (any node of a scanned volume tree).
    void updateValueFor(FileSystemItem* node);
    // Registers a volume for the periodic refresh, replacing an older tree of its path.
    void startObserveFor(VolumeSystemItem* volume);
    void updatePurgeableSpaceForCachedVolumes();
    void applicationDidBecomeActive();
    void applicationDidResignActive();
    std::optional<std::chrono::system_clock::time_point> lastUpdateDate() const {
        return mLastUpdateDate;
    }
    bool isMeasuring() const { return mCurGetOperation != nullptr; }

    // An operation of the collection (old: whether one ran, 1…3; new: its
    // current state) has just ended, so the amounts must be measured again.
    static bool needUpdatePurgeableSpaceWithOldState(int oldState, int newState);

    // ---- Freeing up
    // The purgeable node's "free up" action.
    void freeUpPurgeableSpace(SpecialSystemItem* node);
    bool isProcessing() const { return mCurrentRecoveryOperation != nullptr; }

  private:
    explicit PurgeableSpaceCleaner(Configuration configuration);

    void startNextMeasurement();
    void measured(const VolumeRef& volume, std::uint64_t value);
    // Takes out what vanished when the amount shrank, then moves the node.
    void moveToMeasuredValue(VolumeSystemItem& volume, SpecialSystemItem& node, std::int64_t target,
                             std::function<void()> done);
    // Moves `node` to `target` in steps, then runs `done`.
    void shrink(SpecialSystemItem& node, std::int64_t target, std::function<void()> done);
    // Tells the listener the free-up ended and forgets it.
    void endRecovery();
    void releaseRecovery();

    void diskSpaceRecoveryDidStart(DiskSpaceRecoveryOperation& operation) override;
    void diskSpaceRecoveryDidFinish(DiskSpaceRecoveryOperation& operation,
                                    std::uint64_t estimate) override;
    void diskSpaceRecoveryDidFail(DiskSpaceRecoveryOperation& operation,
                                  const std::string& error) override;
    void diskSpaceRecoveryWasCancelled(DiskSpaceRecoveryOperation& operation) override;

    Configuration mConfiguration;
    PurgeableSpaceCleanerListener* mListener = nullptr;
    PurgeableSpaceCleanerWindow* mWindow = nullptr;
    std::optional<platform::MainQueue::TimerId> mTimer;
    std::optional<std::chrono::system_clock::time_point> mLastUpdateDate;
    std::vector<VolumeRef> mStack;
    std::shared_ptr<PurgeableSpaceGetOperation> mCurGetOperation;
    std::map<std::string, VolumeRef> mCachedVolumes;
    boost::intrusive_ptr<SpecialSystemItem> mSpecialItem;
    VolumeRef mRecoveryVolume;
    std::shared_ptr<DiskSpaceRecoveryOperation> mCurrentRecoveryOperation;
};

}  // namespace korvex
