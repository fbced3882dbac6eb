#pragma once

#include "platform/dispatch/SerialQueue.h"
#include "platform/recovery/DiskSpaceRecoveryService.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

namespace korvex {

class DiskSpaceRecoveryOperation;
class PurgeableSpaceCleanerWindow;

// Told how one free-up goes; called on the main queue.
class DiskSpaceRecoveryOperationListener {
  public:
    virtual ~DiskSpaceRecoveryOperationListener() = default;
    virtual void diskSpaceRecoveryDidStart(DiskSpaceRecoveryOperation& operation) = 0;
    // The release is done: `estimate` is what is still purgeable.
    virtual void diskSpaceRecoveryDidFinish(DiskSpaceRecoveryOperation& operation,
                                            std::uint64_t estimate) = 0;
    virtual void diskSpaceRecoveryDidFail(DiskSpaceRecoveryOperation& operation,
                                          const std::string& error) = 0;
    // The user said no on the confirmation sheet.
    virtual void diskSpaceRecoveryWasCancelled(DiskSpaceRecoveryOperation& operation) = 0;
};

// One free-up of a volume's purgeable space: the confirmation (unless turned
// off), the release, and the checks that follow until the estimate drops.
// The owner calls stopReporting() when it drops the operation: nothing is
// reported after that.
class DiskSpaceRecoveryOperation : public std::enable_shared_from_this<DiskSpaceRecoveryOperation> {
  public:
    struct Parameters {
        std::string volumePath;
        std::string volumeName;
        std::uint64_t initialPurgeableSpace = 0;
        PurgeableSpaceCleanerWindow* window = nullptr;
        const platform::DiskSpaceRecoveryService* service = nullptr;
        std::chrono::milliseconds progressCheckInterval{10000};
    };

    explicit DiskSpaceRecoveryOperation(Parameters parameters);

    void start(DiskSpaceRecoveryOperationListener* listener);
    // The progress check: measures again and reports the end, or checks later.
    void didFinishDiskSpaceRecovery();

    void stopReporting() { mListener = nullptr; }
    bool isReporting() const { return mListener != nullptr; }
    bool isProcessing() const { return mIsProcessing; }
    const std::string& volumePath() const { return mParameters.volumePath; }
    const std::string& volumeName() const { return mParameters.volumeName; }
    std::uint64_t initialPurgeableSpace() const { return mParameters.initialPurgeableSpace; }

  private:
    void beginRecovery();
    void checkLater();

    Parameters mParameters;
    DiskSpaceRecoveryOperationListener* mListener = nullptr;
    bool mIsProcessing = false;
    platform::SerialQueue mDispathQueue{"com.halvorn.PurgeableSpaceCleaner.Queue"};
};

}  // namespace korvex
