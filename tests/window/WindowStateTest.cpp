#include "app/settings/Settings.h"
#include "app/toolkit/RestartService.h"
#include "app/window/ForceRestartController.h"
#include "app/window/MountFollower.h"
#include "app/window/ScanningStateObserver.h"
#include "support/TempSettings.h"

#include <gtest/gtest.h>

#include <vector>

namespace korvex {
namespace {

TEST(ScanningStateObserverTest, StateTellsWhetherTheSelectedTargetIsTheOneScanned) {
    ScanningStateObserver observer;
    std::vector<std::int64_t> told;
    observer.addListener([&](std::int64_t state) { told.push_back(state); });

    observer.setSelectedVolumePath("/home/ann");
    EXPECT_EQ(observer.state(), ScanningStateObserver::Idle);
    observer.setScanningPath("/home/ann");
    EXPECT_TRUE(observer.isScanning());
    EXPECT_EQ(observer.state(), ScanningStateObserver::SelectedTargetScanning);
    observer.setSelectedVolumePath("/");
    EXPECT_EQ(observer.state(), ScanningStateObserver::OtherTargetScanning);
    observer.setSelectedVolumePath("/");  // no change, nobody told
    // Both unset while a scan runs counts as the same target.
    observer.setSelectedVolumePath(std::nullopt);
    observer.setScanningPath("");
    EXPECT_FALSE(observer.isScanning());
    EXPECT_EQ(told, (std::vector<std::int64_t>{2, 1, 0}));
}

TEST(ForceRestartControllerTest, ScanInterruptedByARelaunchRunsAgainOnce) {
    test::TempSettings settings;
    RestartService service;
    ForceRestartController controller(&service);
    std::vector<std::string> started;
    controller.registerStartScanWithBlock(
        [&](const std::string& path) { started.push_back(path); });

    controller.onScanStartedWith("/srv/data with \"quotes\"");
    EXPECT_EQ(Settings::getStringValueForKey(ForceRestartController::kLastScanPathKey),
              "/srv/data with \"quotes\"");
    service.decline();
    controller.onAppLaunched();
    EXPECT_TRUE(started.empty());  // the user did not relaunch

    // The relaunch itself quits the process; what it records is what counts.
    Settings::saveBoolValue(true, ForceRestartController::kShouldScanOnRelaunch);
    test::TempSettings::forgetAll();  // as the new process reads the store
    ForceRestartController relaunched;
    relaunched.registerStartScanWithBlock(
        [&](const std::string& path) { started.push_back(path); });
    relaunched.onAppLaunched();
    relaunched.onAppLaunched();
    EXPECT_EQ(started, (std::vector<std::string>{"/srv/data with \"quotes\""}));
}

TEST(ForceRestartControllerTest, FinishedScanLeavesNothingToResume) {
    test::TempSettings settings;
    ForceRestartController controller;
    controller.onScanStartedWith("/srv");
    Settings::saveBoolValue(true, ForceRestartController::kShouldScanOnRelaunch);
    controller.onScanFinished();
    EXPECT_FALSE(Settings::getStringValueForKey(ForceRestartController::kLastScanPathKey));
    EXPECT_FALSE(Settings::getBoolValueForKey(ForceRestartController::kShouldScanOnRelaunch, true));
    bool started = false;
    controller.registerStartScanWithBlock([&](const std::string&) { started = true; });
    controller.onAppLaunched();
    EXPECT_FALSE(started);
}

TEST(MountFollowerTest, ChangesAreToldAsMountedAndUnmountedPaths) {
    std::vector<std::string> paths{"/", "/media/usb"};
    MountFollower follower([&] { return paths; });
    QStringList mounted, unmounted;
    QObject::connect(&follower, &MountFollower::mounted, [&](const QString& p) { mounted << p; });
    QObject::connect(&follower, &MountFollower::unmounted,
                     [&](const QString& p) { unmounted << p; });
    paths = {"/", "/run/media/ann/Backup Disk"};
    follower.check();
    EXPECT_EQ(mounted, QStringList{"/run/media/ann/Backup Disk"});
    EXPECT_EQ(unmounted, QStringList{"/media/usb"});
    follower.check();  // nothing new
    EXPECT_EQ(mounted.size(), 1);
    EXPECT_EQ(unmounted.size(), 1);
}

}  // namespace
}  // namespace korvex
