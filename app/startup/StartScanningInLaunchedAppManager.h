#pragma once

#include "platform/dispatch/MainQueue.h"
#include "platform/ipc/DistributedNotificationCenter.h"

#include <QVariantMap>

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace korvex {

// The launch handshake between applications of the family and the scan and
// segment requests they send. A launcher subscribes before launching a
// sibling and answers its ready announcement; a launched application
// announces itself and scans when the answer comes within the window. Every
// subscription ends when its window closes, answered or not. Main thread only.
class StartScanningInLaunchedAppManager {
  public:
    using Block = std::function<void(const QVariantMap& userInfo)>;
    using Seconds = std::chrono::duration<double>;

    // The process's manager, on the session bus center.
    static StartScanningInLaunchedAppManager& shared();

    explicit StartScanningInLaunchedAppManager(platform::DistributedNotificationCenter& center);
    ~StartScanningInLaunchedAppManager();
    StartScanningInLaunchedAppManager(const StartScanningInLaunchedAppManager&) = delete;
    StartScanningInLaunchedAppManager& operator=(const StartScanningInLaunchedAppManager&) = delete;

    // Types 1..4 of the family; nothing for any other.
    static std::optional<std::string> startScanningIdentifierWithType(std::int32_t type);

    std::int32_t launchedAppType() const { return mLaunchedAppType; }
    void setLaunchedAppType(std::int32_t type) { mLaunchedAppType = type; }
    const Block& startScaningBlock() const { return mStartScaningBlock; }
    void setStartScaningBlock(Block block) { mStartScaningBlock = std::move(block); }
    const Block& selectSegmentBlock() const { return mSelectSegmentBlock; }
    void setSelectSegmentBlock(Block block) { mSelectSegmentBlock = std::move(block); }
    // Requests that arrived before the blocks were installed.
    const std::optional<std::string>& pathToScan() const { return mPathToScan; }
    void setPathToScan(std::optional<std::string> path) { mPathToScan = std::move(path); }
    const std::optional<std::string>& selectSegmentCommand() const { return mSelectSegmentCommand; }
    void setSelectSegmentCommand(std::optional<std::string> command) {
        mSelectSegmentCommand = std::move(command);
    }

    // How long each handshake listens for its answer (5 seconds).
    Seconds handshakeWindow() const { return mHandshakeWindow; }
    void setHandshakeWindow(Seconds window) { mHandshakeWindow = window; }

    // Launcher side.
    void prepareToAppLaunchingWithType(std::int32_t type);
    void subscribeToLaunchedAppDidFinishLaunchingForDuration(
        Seconds duration, const std::string& appIdentifierToStartScanning);
    void launchedAppDidFinishLaunchingEvent(const platform::DistributedNotification& notification);

    // Launched side.
    void appWithTypeDidFinishLaunching(std::int32_t type);
    void subscribeToStartScanningForDuration(Seconds duration);
    void startScanningNotificationHandler(const platform::DistributedNotification& notification);

    // Requests from siblings; dropped unless the value is a string and the
    // matching block is installed.
    void scanPathCommandFromExternalApp(const platform::DistributedNotification& notification);
    void segmentSelectionCommandFromExternalApp(
        const platform::DistributedNotification& notification);

  private:
    // One observer that a timer removes when its window closes.
    struct Subscription {
        std::optional<platform::DistributedNotificationCenter::Token> observer;
        std::optional<platform::MainQueue::TimerId> timer;
    };

    void subscribe(Subscription& subscription, const char* name, const std::string& object,
                   Seconds duration,
                   std::function<void(const platform::DistributedNotification&)> handler);
    void end(Subscription& subscription);

    platform::DistributedNotificationCenter& mCenter;
    std::int32_t mLaunchedAppType = 0;
    Block mStartScaningBlock;
    Block mSelectSegmentBlock;
    std::optional<std::string> mPathToScan;
    std::optional<std::string> mSelectSegmentCommand;
    Seconds mHandshakeWindow{5.0};

    Subscription mLaunchedAppSubscription;
    Subscription mStartScanningSubscription;
    platform::DistributedNotificationCenter::Token mScanPathObserver = 0;
    platform::DistributedNotificationCenter::Token mSegmentObserver = 0;
};

}  // namespace korvex
