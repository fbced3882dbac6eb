#include "app/startup/StartScanningInLaunchedAppManager.h"

#include "app/startup/LaunchProtocol.h"

#include <QMetaType>

#include <array>

namespace korvex {
namespace {

using platform::DistributedNotification;

QString q(const char* text) {
    return QString::fromLatin1(text);
}

// The value of `key` when it is present and a string.
std::optional<QString> stringValue(const QVariantMap& userInfo, const char* key) {
    const auto it = userInfo.constFind(q(key));
    if (it == userInfo.cend() || it->typeId() != QMetaType::QString) {
        return std::nullopt;
    }
    return it->toString();
}

}  // namespace

StartScanningInLaunchedAppManager& StartScanningInLaunchedAppManager::shared() {
    static StartScanningInLaunchedAppManager manager(
        platform::DistributedNotificationCenter::shared());
    return manager;
}

StartScanningInLaunchedAppManager::StartScanningInLaunchedAppManager(
    platform::DistributedNotificationCenter& center)
    : mCenter(center) {
    // The queue's timers are cancelled on destruction, so the queue must be
    // made first and outlive a process-wide manager.
    platform::MainQueue::shared();
    mScanPathObserver = mCenter.addObserver(
        q(launch::kScanPathCommandNotification), QString(),
        [this](const DistributedNotification& n) { scanPathCommandFromExternalApp(n); });
    mSegmentObserver = mCenter.addObserver(
        q(launch::kSegmentSelectionCommandNotification), QString(),
        [this](const DistributedNotification& n) { segmentSelectionCommandFromExternalApp(n); });
}

StartScanningInLaunchedAppManager::~StartScanningInLaunchedAppManager() {
    end(mLaunchedAppSubscription);
    end(mStartScanningSubscription);
    mCenter.removeObserver(mScanPathObserver);
    mCenter.removeObserver(mSegmentObserver);
}

std::optional<std::string> StartScanningInLaunchedAppManager::startScanningIdentifierWithType(
    std::int32_t type) {
    static const std::array<const char*, 4> identifiers = {
        "com.halvorn.TesselIdentifierToStartScanning",
        "com.halvorn.MorrowIdentifierToStartScanning",
        "com.halvorn.KorvexIdentifierToStartScanning",
        "com.halvorn.PellamIdentifierToStartScanning",
    };
    if (type < 1 || type > static_cast<std::int32_t>(identifiers.size())) {
        return std::nullopt;
    }
    return identifiers[static_cast<std::size_t>(type - 1)];
}

void StartScanningInLaunchedAppManager::prepareToAppLaunchingWithType(std::int32_t type) {
    if (auto identifier = startScanningIdentifierWithType(type)) {
        subscribeToLaunchedAppDidFinishLaunchingForDuration(mHandshakeWindow, *identifier);
    }
}

void StartScanningInLaunchedAppManager::subscribeToLaunchedAppDidFinishLaunchingForDuration(
    Seconds duration, const std::string& appIdentifierToStartScanning) {
    subscribe(mLaunchedAppSubscription, launch::kLaunchedAppDidFinishLaunchingNotification,
              appIdentifierToStartScanning, duration,
              [this](const DistributedNotification& n) { launchedAppDidFinishLaunchingEvent(n); });
}

void StartScanningInLaunchedAppManager::launchedAppDidFinishLaunchingEvent(
    const DistributedNotification& notification) {
    end(mLaunchedAppSubscription);
    mCenter.post(q(launch::kLaunchedAppAskToStartScanningNotification), notification.object);
}

void StartScanningInLaunchedAppManager::appWithTypeDidFinishLaunching(std::int32_t type) {
    mLaunchedAppType = type;
    if (mPathToScan && mStartScaningBlock) {
        QVariantMap userInfo{{q(launch::kPathToScanKey), QString::fromStdString(*mPathToScan)}};
        mPathToScan.reset();
        mStartScaningBlock(userInfo);
    } else if (!mPathToScan) {
        subscribeToStartScanningForDuration(mHandshakeWindow);
        if (auto identifier = startScanningIdentifierWithType(mLaunchedAppType)) {
            mCenter.post(q(launch::kLaunchedAppDidFinishLaunchingNotification),
                         QString::fromStdString(*identifier));
        }
    }
    if (mSelectSegmentCommand && mSelectSegmentBlock) {
        QVariantMap userInfo{
            {q(launch::kSelectSegmentKey), QString::fromStdString(*mSelectSegmentCommand)}};
        mSelectSegmentBlock(userInfo);
    }
}

void StartScanningInLaunchedAppManager::subscribeToStartScanningForDuration(Seconds duration) {
    const auto identifier = startScanningIdentifierWithType(mLaunchedAppType);
    if (!identifier) {
        return;
    }
    subscribe(mStartScanningSubscription, launch::kLaunchedAppAskToStartScanningNotification,
              *identifier, duration,
              [this](const DistributedNotification& n) { startScanningNotificationHandler(n); });
}

void StartScanningInLaunchedAppManager::startScanningNotificationHandler(
    const DistributedNotification& notification) {
    end(mStartScanningSubscription);
    if (mStartScaningBlock) {
        mStartScaningBlock(notification.userInfo);
    }
}

void StartScanningInLaunchedAppManager::scanPathCommandFromExternalApp(
    const DistributedNotification& notification) {
    if (!stringValue(notification.userInfo, launch::kPathToScanKey) || !mStartScaningBlock) {
        return;
    }
    mStartScaningBlock(notification.userInfo);
}

void StartScanningInLaunchedAppManager::segmentSelectionCommandFromExternalApp(
    const DistributedNotification& notification) {
    if (!stringValue(notification.userInfo, launch::kSelectSegmentKey) || !mSelectSegmentBlock) {
        return;
    }
    mSelectSegmentBlock(notification.userInfo);
}

void StartScanningInLaunchedAppManager::subscribe(
    Subscription& subscription, const char* name, const std::string& object, Seconds duration,
    std::function<void(const DistributedNotification&)> handler) {
    // A new subscription replaces the previous one and its window.
    end(subscription);
    subscription.observer =
        mCenter.addObserver(q(name), QString::fromStdString(object), std::move(handler));
    subscription.timer = platform::MainQueue::shared().after(
        std::chrono::duration_cast<platform::MainQueue::Clock::duration>(duration),
        [this, &subscription] {
            subscription.timer.reset();
            end(subscription);
        });
}

void StartScanningInLaunchedAppManager::end(Subscription& subscription) {
    if (subscription.observer) {
        mCenter.removeObserver(*subscription.observer);
        subscription.observer.reset();
    }
    if (subscription.timer) {
        platform::MainQueue::shared().cancelTimer(*subscription.timer);
        subscription.timer.reset();
    }
}

}  // namespace korvex
