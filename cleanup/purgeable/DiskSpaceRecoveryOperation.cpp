#include "cleanup/purgeable/DiskSpaceRecoveryOperation.h"

#include "app/settings/Settings.h"
#include "cleanup/purgeable/PurgeableSpaceCleanerLocalizable.h"
#include "cleanup/purgeable/PurgeableSpaceCleanerWindow.h"
#include "cleanup/purgeable/PurgeableSpaceTexts.h"
#include "platform/dispatch/MainQueue.h"
#include "platform/mounts/MountTable.h"

namespace korvex {

namespace {

// Runs `body(operation)` on the main queue unless the free-up was dropped by
// then. The operation travels along, so it is never destroyed on its own queue.
template <class Body>
void onMain(std::shared_ptr<DiskSpaceRecoveryOperation> operation, Body body) {
    platform::MainQueue::shared().async([operation = std::move(operation), body = std::move(body)] {
        if (operation->isReporting()) {
            body(*operation);
        }
    });
}

}  // namespace

DiskSpaceRecoveryOperation::DiskSpaceRecoveryOperation(Parameters parameters)
    : mParameters(std::move(parameters)) {}

void DiskSpaceRecoveryOperation::start(DiskSpaceRecoveryOperationListener* listener) {
    mListener = listener;
    // A cache folder that is not the user's own (the home folder, when the
    // cache is set to it) is refused before anyone is asked.
    auto folders = mParameters.service->foldersToEmpty(mParameters.volumePath);
    if (const auto* refusal = std::get_if<std::string>(&folders)) {
        mListener->diskSpaceRecoveryDidFail(*this, *refusal);
        return;
    }
    if (!Settings::showCleanPergeableSpaceAlert() || mParameters.window == nullptr) {
        beginRecovery();
        return;
    }
    std::weak_ptr<DiskSpaceRecoveryOperation> weak = weak_from_this();
    mParameters.window->askToFreeUpPurgeableSpace(
        purgeableTexts::confirmation(mParameters.initialPurgeableSpace, mParameters.volumeName,
                                     std::get<std::vector<std::string>>(folders)),
        [weak](bool confirmed, bool suppress) {
            auto self = weak.lock();
            if (self == nullptr || !self->isReporting()) {
                return;
            }
            if (!confirmed) {
                self->mListener->diskSpaceRecoveryWasCancelled(*self);
                return;
            }
            if (suppress) {
                Settings::setShowCleanPergeableSpaceAlert(false);
            }
            self->beginRecovery();
        });
}

void DiskSpaceRecoveryOperation::beginRecovery() {
    std::optional<platform::VolumeFacts> facts = platform::volumeFacts(mParameters.volumePath);
    if (!facts) {
        mListener->diskSpaceRecoveryDidFail(
            *this, PurgeableSpaceCleanerLocalizable::text(
                       PurgeableSpaceCleanerLocalizable::kUndefinedFreeSize));
        return;
    }
    std::uint64_t wanted = static_cast<std::uint64_t>(std::max<std::int64_t>(facts->freeSpace, 0)) +
                           mParameters.initialPurgeableSpace;
    mIsProcessing = true;
    mListener->diskSpaceRecoveryDidStart(*this);
    std::weak_ptr<DiskSpaceRecoveryOperation> weak = weak_from_this();
    mParameters.service->startRecovery(
        mParameters.volumePath, wanted, mDispathQueue,
        [weak](bool, std::uint64_t, std::optional<std::string> error) {
            auto operation = weak.lock();
            if (operation == nullptr) {
                return;
            }
            onMain(std::move(operation), [error](DiskSpaceRecoveryOperation& self) {
                if (error) {
                    self.mIsProcessing = false;
                    self.mListener->diskSpaceRecoveryDidFail(self, *error);
                } else {
                    self.checkLater();
                }
            });
        });
}

void DiskSpaceRecoveryOperation::checkLater() {
    std::weak_ptr<DiskSpaceRecoveryOperation> weak = weak_from_this();
    platform::MainQueue::shared().after(mParameters.progressCheckInterval, [weak] {
        if (auto self = weak.lock()) {
            self->didFinishDiskSpaceRecovery();
        }
    });
}

void DiskSpaceRecoveryOperation::didFinishDiskSpaceRecovery() {
    std::weak_ptr<DiskSpaceRecoveryOperation> weak = weak_from_this();
    mDispathQueue.async([weak] {
        auto self = weak.lock();
        if (self == nullptr) {
            return;
        }
        std::uint64_t estimate = self->mParameters.service->recoveryEstimate(self->volumePath());
        onMain(std::move(self), [estimate](DiskSpaceRecoveryOperation& operation) {
            // An estimate above the starting amount means nothing freed yet;
            // from nothing, nothing can be freed, and waiting would not end.
            std::uint64_t initial = operation.initialPurgeableSpace();
            std::uint64_t freed = initial > estimate ? initial - estimate : 0;
            if (freed == 0 && initial > 0) {
                operation.checkLater();
                return;
            }
            operation.mIsProcessing = false;
            operation.mListener->diskSpaceRecoveryDidFinish(operation, estimate);
        });
    });
}

}  // namespace korvex
