#include "IpcTestSupport.h"
#include "support/TempTree.h"

#include "app/startup/AppStartupDelegate.h"
#include "app/startup/LaunchArguments.h"
#include "platform/ipc/SingleInstance.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace korvex {
namespace {

using namespace std::chrono_literals;
using platform::DistributedNotificationCenter;
using test::BusPeer;
using test::spinFor;
using test::spinUntil;

// Writes down what the window controller was asked to do.
class RecordingTarget : public ScanRequestTarget {
  public:
    void startHomeFolder() override { calls.push_back("home"); }
    void softStartHomeFolder(bool soft) override {
        calls.push_back(soft ? "softHome:yes" : "softHome:no");
    }
    void doScanFolder(const std::string& path) override { calls.push_back("scan:" + path); }
    void startScanRootVolume() override { calls.push_back("rootVolume"); }
    void switchToBiggestTab() override { calls.push_back("biggest"); }
    void addFoldersAndScanFirst(const std::vector<std::string>& paths) override {
        std::string call = "add";
        for (const auto& path : paths) {
            call += ":" + path;
        }
        calls.push_back(call);
    }
    void openScanFile(const std::string& path) override { calls.push_back("open:" + path); }
    std::vector<std::string> calls;
};

class StartupDelegate : public test::PrivateBusTest {
  protected:
    using Calls = std::vector<std::string>;

    Calls startWith(const QVariantMap& info) {
        target.calls.clear();
        delegate.startScanning(info);
        EXPECT_TRUE(target.calls.empty()) << "the work waits for the main queue";
        spinUntil([&] { return !target.calls.empty(); }, 2s);
        return target.calls;
    }

    test::TempTree tree;
    std::string home = tree.folder("home/user");
    BusPeer selfPeer, siblingPeer;
    DistributedNotificationCenter selfCenter{selfPeer.connection()};
    DistributedNotificationCenter siblingCenter{siblingPeer.connection()};
    StartScanningInLaunchedAppManager manager{selfCenter};
    RecordingTarget target;
    AppStartupDelegate delegate{target, manager, home};
};

TEST_F(StartupDelegate, StartScanningChoosesWhatToScanFromTheUserInfo) {
    EXPECT_EQ(startWith({{"home", true}, {"pathToScan", "/srv"}}), Calls{"home"});
    EXPECT_EQ(startWith({{"pathToScan", QString::fromStdString(home)}, {"softRescan", false}}),
              Calls{"softHome:yes"})
        << "the presence of softRescan counts, not its value";
    EXPECT_EQ(startWith({{"pathToScan", QString::fromStdString(home + "/")}}),
              Calls{"softHome:no"});
    EXPECT_EQ(startWith({{"pathToScan", "/srv/odd \"name\"\n"}}),
              Calls{"scan:/srv/odd \"name\"\n"});
    EXPECT_EQ(startWith({}), Calls{"rootVolume"});
}

TEST_F(StartupDelegate, OnlySelectBiggestSwitchesTheSegment) {
    for (const char* value : {"selectBiggest", "selectSegment:selectBiggest",
                              "selectSegment:selectSegment:selectBiggest"}) {
        target.calls.clear();
        delegate.selectSegment({{"selectSegment", value}});
        EXPECT_EQ(target.calls, Calls{"biggest"}) << value;
    }
    target.calls.clear();
    delegate.selectSegment({{"selectSegment", "selectSegment:selectFolders"}});
    delegate.selectSegment({{"selectSegment", "selectBiggestFiles"}});
    delegate.selectSegment({});
    EXPECT_TRUE(target.calls.empty());
}

TEST_F(StartupDelegate, OpenFileScansFoldersAndOpensFiles) {
    const std::string folder = tree.folder("with \"quotes\"\nnewline");
    const std::string file = tree.file("home.korvexscan", 10);
    EXPECT_TRUE(delegate.application(nullptr, folder));
    EXPECT_TRUE(delegate.application(nullptr, file));
    EXPECT_TRUE(delegate.application(nullptr, tree.path("missing")));
    EXPECT_TRUE(delegate.application(nullptr, std::string()));
    EXPECT_EQ(target.calls, (Calls{"scan:" + folder, "open:" + file}));
}

TEST_F(StartupDelegate, HandedFilesOpenAfterTheFoldersAreAdded) {
    const std::string folder = tree.folder("srv");
    const std::string file = tree.file("server.json", 10);
    delegate.application(nullptr, std::vector<std::string>{file, folder});
    ASSERT_TRUE(spinUntil([&] { return target.calls.size() == 2; }, 2s));
    EXPECT_EQ(target.calls, (Calls{"add:" + folder, "open:" + file}));

    // Files alone add no folders.
    target.calls.clear();
    delegate.application(nullptr, std::vector<std::string>{file});
    ASSERT_TRUE(spinUntil([&] { return !target.calls.empty(); }, 2s));
    EXPECT_EQ(target.calls, Calls{"open:" + file});
}

TEST_F(StartupDelegate, OpenFilesWaitsThenDropsEmptyPaths) {
    const std::vector<std::string> paths{"/a", "", "/b", ""};
    delegate.application(nullptr, paths);
    spinFor(150ms);
    EXPECT_TRUE(target.calls.empty()) << "served after 0.3 seconds";
    ASSERT_TRUE(spinUntil([&] { return !target.calls.empty(); }, 2s));
    EXPECT_EQ(target.calls, Calls{"add:/a:/b"});
}

TEST_F(StartupDelegate, NothingQueuedRunsAfterTheDelegateIsGone) {
    RecordingTarget other;
    {
        AppStartupDelegate shortLived(other, manager, home);
        shortLived.startScanning({});
        shortLived.application(nullptr, std::vector<std::string>{"/a"});
    }
    spinFor(500ms);
    EXPECT_TRUE(other.calls.empty());
}

TEST_F(StartupDelegate, ASiblingLaunchEndsInARootVolumeScan) {
    StartScanningInLaunchedAppManager sibling(siblingCenter);
    sibling.prepareToAppLaunchingWithType(3);
    delegate.tellOtherApplicationsThatAppStarted();
    ASSERT_TRUE(spinUntil([&] { return !target.calls.empty(); }));
    EXPECT_EQ(target.calls, Calls{"rootVolume"});

    // Later requests from siblings reach the controller too.
    target.calls.clear();
    siblingCenter.post(test::kScanCommand, {}, {{"pathToScan", "/srv"}});
    siblingCenter.post(test::kSegmentCommand, {},
                       {{"selectSegment", "selectSegment:selectBiggest"}});
    ASSERT_TRUE(spinUntil([&] { return target.calls.size() == 2; }));
    // The two messages are delivered one by one and the scan waits for the
    // main queue, which may run between them: their order is not fixed.
    std::sort(target.calls.begin(), target.calls.end());
    EXPECT_EQ(target.calls, (Calls{"biggest", "scan:/srv"}));
}

TEST_F(StartupDelegate, FoldersHandedOverByASecondInstanceAreScanned) {
    platform::SingleInstance first(selfPeer.connection(), "com.halvorn.korvex.test");
    first.setOpenFilesHandler([&](const QStringList& paths) {
        std::vector<std::string> folders;
        for (const QString& path : paths) {
            folders.push_back(path.toStdString());
        }
        delegate.application(nullptr, folders);
    });
    ASSERT_EQ(first.claim(), platform::SingleInstance::Role::Primary);
    platform::SingleInstance second(siblingPeer.connection(), "com.halvorn.korvex.test");
    ASSERT_EQ(second.claim(), platform::SingleInstance::Role::Secondary);
    ASSERT_TRUE(second.handOver({"/x", "", "/y"}, 3000));
    ASSERT_TRUE(spinUntil([&] { return !target.calls.empty(); }));
    EXPECT_EQ(target.calls, Calls{"add:/x:/y"});
}

TEST(LaunchArguments, FoldersFromTheCommandLine) {
    const QStringList arguments{
        "korvex", "--verbose", "/srv/a",      "file:///srv/with%20space", "https://example.org/x",
        "",       "--",        "-dash-folder"};
    EXPECT_EQ(foldersFromArguments(arguments),
              (std::vector<std::string>{"/srv/a", "/srv/with space", "-dash-folder"}));
    EXPECT_TRUE(foldersFromArguments({"korvex"}).empty());
    EXPECT_TRUE(foldersFromArguments({}).empty());
}

}  // namespace
}  // namespace korvex
