#include "cleanup/purgeable/PurgeableSpaceCleaner.h"

#include "cleanup/purgeable/PurgeableSpaceTexts.h"
#include "cleanup/purgeable/RecoveryResultObject.h"
#include "cleanup/purgeable/VanishedEntries.h"
#include "platform/UserFolders.h"

namespace korvex {

PurgeableSpaceCleaner::PurgeableSpaceCleaner(Configuration configuration)
    : mConfiguration(std::move(configuration)) {}

std::shared_ptr<PurgeableSpaceCleaner> PurgeableSpaceCleaner::create(Configuration configuration) {
    return std::shared_ptr<PurgeableSpaceCleaner>(
        new PurgeableSpaceCleaner(std::move(configuration)));
}

PurgeableSpaceCleaner::~PurgeableSpaceCleaner() {
    applicationDidResignActive();
    if (mCurrentRecoveryOperation != nullptr) {
        mCurrentRecoveryOperation->stopReporting();
    }
}

std::vector<std::string> defaultVanishingFolders() {
    return {platform::UserFolders::current().cacheHome(), "/var/cache", "/var/tmp", "/tmp"};
}

bool PurgeableSpaceCleaner::needUpdatePurgeableSpaceWithOldState(int oldState, int newState) {
    return newState == 0 && oldState >= 1 && oldState <= 3;
}

// ---- Measuring

void PurgeableSpaceCleaner::updateValueFor(FileSystemItem* node) {
    if (node == nullptr) {
        return;
    }
    FileSystemItem* top = node->getTopParent();
    if (!top->isVol()) {
        return;
    }
    bool wasEmpty = mStack.empty();
    mStack.emplace_back(static_cast<VolumeSystemItem*>(top));
    if (mCurGetOperation == nullptr && wasEmpty) {
        startNextMeasurement();
    }
}

void PurgeableSpaceCleaner::startObserveFor(VolumeSystemItem* volume) {
    if (volume != nullptr) {
        mCachedVolumes[volume->fullPath()] = volume;
    }
}

void PurgeableSpaceCleaner::updatePurgeableSpaceForCachedVolumes() {
    mLastUpdateDate = std::chrono::system_clock::now();
    for (const auto& [path, volume] : mCachedVolumes) {
        updateValueFor(volume.get());
    }
}

void PurgeableSpaceCleaner::applicationDidBecomeActive() {
    if (mTimer) {
        return;
    }
    std::weak_ptr<PurgeableSpaceCleaner> weak = weak_from_this();
    mTimer =
        platform::MainQueue::shared().scheduleRepeating(mConfiguration.refreshInterval, [weak] {
            if (auto self = weak.lock()) {
                self->updatePurgeableSpaceForCachedVolumes();
            }
        });
}

void PurgeableSpaceCleaner::applicationDidResignActive() {
    if (mTimer) {
        platform::MainQueue::shared().cancelTimer(*mTimer);
        mTimer.reset();
    }
}

void PurgeableSpaceCleaner::startNextMeasurement() {
    mCurGetOperation = nullptr;
    while (!mStack.empty()) {
        VolumeRef volume = std::move(mStack.back());
        mStack.pop_back();
        if (volume->purgeableSpaceItem() == nullptr) {
            continue;
        }
        mCurGetOperation =
            PurgeableSpaceGetOperation::initWithUrl(volume->fullPath(), *mConfiguration.service);
        std::weak_ptr<PurgeableSpaceCleaner> weak = weak_from_this();
        PurgeableSpaceGetOperation* operation = mCurGetOperation.get();
        operation->performWithCompletion([weak, volume, operation] {
            // The operation's queue holds the operation while this runs.
            auto value = static_cast<std::uint64_t>(operation->purgeableSpaceValue());
            platform::MainQueue::shared().async([weak, volume, value] {
                if (auto self = weak.lock()) {
                    self->measured(volume, value);
                }
            });
        });
        return;
    }
}

void PurgeableSpaceCleaner::measured(const VolumeRef& volume, std::uint64_t value) {
    SpecialSystemItem* node = volume->purgeableSpaceItem();
    auto target = static_cast<std::int64_t>(value);
    if (node == nullptr || node->gettotalsize() == target) {
        startNextMeasurement();
        return;
    }
    std::weak_ptr<PurgeableSpaceCleaner> weak = weak_from_this();
    moveToMeasuredValue(*volume, *node, target, [weak] {
        if (auto self = weak.lock()) {
            self->startNextMeasurement();
        }
    });
}

void PurgeableSpaceCleaner::moveToMeasuredValue(VolumeSystemItem& volume, SpecialSystemItem& node,
                                                std::int64_t target, std::function<void()> done) {
    // Space that went away took entries with it: they leave the tree first.
    if (node.gettotalsize() > target) {
        std::vector<VanishedEntry> vanished =
            collectVanishedEntries(volume, mConfiguration.vanishingFolders);
        if (!vanished.empty()) {
            removeVanishedEntries(vanished);
            std::vector<std::string> paths;
            for (const VanishedEntry& entry : vanished) {
                paths.push_back(entry.path);
            }
            if (mListener != nullptr) {
                mListener->purgeableSpaceCleanerNotifyAboutPerformRecovery(volume, paths);
            }
        }
    }
    shrink(node, target, std::move(done));
}

void PurgeableSpaceCleaner::shrink(SpecialSystemItem& node, std::int64_t target,
                                   std::function<void()> done) {
    auto result = std::make_shared<RecoveryResultObject>();
    result->addTask(node, target, true);
    result->completion = std::move(done);
    RecoveryResultObject::play(result, mConfiguration.shrinkSteps,
                               mConfiguration.shrinkStepInterval);
}

// ---- Freeing up

void PurgeableSpaceCleaner::freeUpPurgeableSpace(SpecialSystemItem* node) {
    if (mWindow == nullptr || node == nullptr) {
        return;
    }
    if (mCurrentRecoveryOperation != nullptr) {
        mWindow->showPurgeableSpaceAlert(purgeableTexts::notCompleted());
        return;
    }
    FileSystemItem* top = node->getTopParent();
    if (!top->isVol()) {
        return;
    }
    mSpecialItem = node;
    mRecoveryVolume = static_cast<VolumeSystemItem*>(top);
    DiskSpaceRecoveryOperation::Parameters parameters;
    parameters.volumePath = top->fullPath();
    parameters.volumeName = top->getDisplayName();
    parameters.initialPurgeableSpace =
        static_cast<std::uint64_t>(std::max<std::int64_t>(node->gettotalsize(), 0));
    parameters.window = mWindow;
    parameters.service = mConfiguration.service;
    parameters.progressCheckInterval = mConfiguration.progressCheckInterval;
    mCurrentRecoveryOperation = std::make_shared<DiskSpaceRecoveryOperation>(parameters);
    mCurrentRecoveryOperation->start(this);
}

void PurgeableSpaceCleaner::diskSpaceRecoveryDidStart(DiskSpaceRecoveryOperation&) {
    if (mListener != nullptr) {
        mListener->purgeableSpaceCleanerStateChanged(true);
    }
}

void PurgeableSpaceCleaner::diskSpaceRecoveryDidFinish(DiskSpaceRecoveryOperation& operation,
                                                       std::uint64_t estimate) {
    std::string volumeName = operation.volumeName();
    std::weak_ptr<PurgeableSpaceCleaner> weak = weak_from_this();
    moveToMeasuredValue(
        *mRecoveryVolume, *mSpecialItem, static_cast<std::int64_t>(estimate), [weak, volumeName] {
            auto self = weak.lock();
            if (self == nullptr) {
                return;
            }
            VolumeRef volume = self->mRecoveryVolume;
            self->endRecovery();
            if (self->mWindow != nullptr) {
                self->mWindow->showPurgeableSpaceAlert(purgeableTexts::freedUp(volumeName));
            }
            // Measuring again takes out what vanished with the space.
            self->updateValueFor(volume.get());
        });
}

void PurgeableSpaceCleaner::diskSpaceRecoveryDidFail(DiskSpaceRecoveryOperation& operation,
                                                     const std::string& error) {
    std::string volumeName = operation.volumeName();
    endRecovery();
    if (mWindow != nullptr) {
        mWindow->showPurgeableSpaceAlert(purgeableTexts::failed(volumeName, error));
    }
}

void PurgeableSpaceCleaner::diskSpaceRecoveryWasCancelled(DiskSpaceRecoveryOperation&) {
    releaseRecovery();
}

void PurgeableSpaceCleaner::endRecovery() {
    releaseRecovery();
    if (mListener != nullptr) {
        mListener->purgeableSpaceCleanerStateChanged(false);
    }
}

void PurgeableSpaceCleaner::releaseRecovery() {
    std::shared_ptr<DiskSpaceRecoveryOperation> operation = std::move(mCurrentRecoveryOperation);
    if (operation != nullptr) {
        operation->stopReporting();
    }
    mSpecialItem = nullptr;
    mRecoveryVolume = nullptr;
    // Called from the operation: it goes once its call has returned.
    platform::MainQueue::shared().async([operation] {});
}

}  // namespace korvex
