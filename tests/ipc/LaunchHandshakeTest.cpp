#include "IpcTestSupport.h"

#include "app/startup/StartScanningInLaunchedAppManager.h"

#include <gtest/gtest.h>

#include <vector>

namespace korvex {
namespace {

using namespace std::chrono_literals;
using platform::DistributedNotification;
using platform::DistributedNotificationCenter;
using test::BusPeer;
using test::kScanCommand;
using test::kSegmentCommand;
using test::spinFor;
using test::spinUntil;

const QString kDidFinish = "com.halvorn.LaunchedAppDidFinishLaunching";
const QString kAsk = "com.halvorn.LaunchedAppAskToStartScanning";
const QString kKorvexId = "com.halvorn.KorvexIdentifierToStartScanning";

// Two applications of the family, each on its own connection, and a third
// connection that overhears the protocol.
class LaunchHandshake : public test::PrivateBusTest {
  protected:
    void SetUp() override {
        PrivateBusTest::SetUp();
        if (IsSkipped()) {
            return;
        }
        for (const QString& name : {kDidFinish, kAsk}) {
            tokens.push_back(
                witness.addObserver(name, {}, [this](const auto& n) { heard.push_back(n); }));
        }
        launched.setStartScaningBlock([this](const QVariantMap& info) { starts.push_back(info); });
        launched.setSelectSegmentBlock(
            [this](const QVariantMap& info) { segments.push_back(info); });
        launcher.setHandshakeWindow(300ms);
        launched.setHandshakeWindow(300ms);
    }
    void TearDown() override {
        for (auto token : tokens) {
            witness.removeObserver(token);
        }
    }
    int heardCount(const QString& name) const {
        int count = 0;
        for (const auto& n : heard) {
            count += n.name == name ? 1 : 0;
        }
        return count;
    }

    BusPeer launchedPeer, launcherPeer, witnessPeer;
    DistributedNotificationCenter launchedCenter{launchedPeer.connection()};
    DistributedNotificationCenter launcherCenter{launcherPeer.connection()};
    DistributedNotificationCenter witness{witnessPeer.connection()};
    StartScanningInLaunchedAppManager launched{launchedCenter};
    StartScanningInLaunchedAppManager launcher{launcherCenter};
    std::vector<DistributedNotificationCenter::Token> tokens;
    std::vector<DistributedNotification> heard;
    std::vector<QVariantMap> starts;
    std::vector<QVariantMap> segments;
};

TEST_F(LaunchHandshake, TheLauncherAnswersAndTheLaunchedAppStartsOneScan) {
    launcher.prepareToAppLaunchingWithType(3);
    launched.appWithTypeDidFinishLaunching(3);
    EXPECT_EQ(launched.launchedAppType(), 3);

    // The witness is a connection of its own: its copies of the two signals
    // may arrive after the launched app has already acted on the answer.
    ASSERT_TRUE(spinUntil([&] { return starts.size() == 1 && heard.size() >= 2; }));
    EXPECT_TRUE(starts[0].isEmpty()) << "the answer carries no user info";
    ASSERT_EQ(heard.size(), 2u);
    EXPECT_EQ(heard[0].name, kDidFinish);
    EXPECT_EQ(heard[0].object, kKorvexId);
    EXPECT_EQ(heard[1].name, kAsk);
    EXPECT_EQ(heard[1].object, kKorvexId);

    // A second announcement finds nobody listening on either side.
    launchedCenter.post(kDidFinish, kKorvexId);
    launcherCenter.post(kAsk, kKorvexId);
    spinFor(200ms);
    EXPECT_EQ(heardCount(kAsk), 2) << "only the test's own extra answer";
    EXPECT_EQ(starts.size(), 1u);
}

TEST_F(LaunchHandshake, TwoAnswersWithinTheWindowStartOneScan) {
    launched.appWithTypeDidFinishLaunching(3);
    launcherCenter.post(kAsk, kKorvexId);
    launcherCenter.post(kAsk, kKorvexId);
    ASSERT_TRUE(spinUntil([&] { return heardCount(kAsk) == 2; }));
    spinFor(100ms);
    EXPECT_EQ(starts.size(), 1u);
}

TEST_F(LaunchHandshake, AnswersForAnotherMemberAreNotTaken) {
    launched.appWithTypeDidFinishLaunching(3);
    launcherCenter.post(kAsk, "com.halvorn.PellamIdentifierToStartScanning");
    ASSERT_TRUE(spinUntil([&] { return heardCount(kAsk) == 1; }));
    spinFor(100ms);
    EXPECT_TRUE(starts.empty());
}

TEST_F(LaunchHandshake, LateAnswersAndLateAnnouncementsAreIgnored) {
    launched.appWithTypeDidFinishLaunching(3);
    launcher.prepareToAppLaunchingWithType(2);
    spinFor(500ms);  // both windows close unanswered

    launcherCenter.post(kAsk, kKorvexId);
    launchedCenter.post(kDidFinish, "com.halvorn.MorrowIdentifierToStartScanning");
    ASSERT_TRUE(spinUntil([&] { return heardCount(kAsk) == 1 && heardCount(kDidFinish) == 2; }));
    spinFor(150ms);
    EXPECT_TRUE(starts.empty());
    EXPECT_EQ(heardCount(kAsk), 1) << "the launcher stopped answering";
}

TEST_F(LaunchHandshake, AQueuedPathIsScannedInsteadOfAnnouncing) {
    launched.setPathToScan("/srv/data");
    launched.setSelectSegmentCommand("selectBiggest");
    launched.appWithTypeDidFinishLaunching(3);

    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0], (QVariantMap{{"pathToScan", "/srv/data"}}));
    EXPECT_FALSE(launched.pathToScan());
    ASSERT_EQ(segments.size(), 1u);
    EXPECT_EQ(segments[0], (QVariantMap{{"selectSegment", "selectBiggest"}}));
    spinFor(200ms);
    EXPECT_EQ(heardCount(kDidFinish), 0);
}

TEST_F(LaunchHandshake, ScanAndSegmentRequestsNeedStringValues) {
    const QVariantMap scan{{"pathToScan", "/srv"}, {"softRescan", true}};
    launcherCenter.post(kScanCommand, {}, scan);
    launcherCenter.post(kScanCommand, {}, {{"pathToScan", 7}});
    launcherCenter.post(kScanCommand, {}, {{"pathToScan", QStringList{"/a"}}});
    launcherCenter.post(kScanCommand, {}, {{"other", "/a"}});
    launcherCenter.post(kSegmentCommand, {}, {{"selectSegment", true}});
    launcherCenter.post(kSegmentCommand, {}, {{"selectSegment", "selectBiggest"}});
    ASSERT_TRUE(spinUntil([&] { return segments.size() == 1; }));
    spinFor(100ms);
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0], scan) << "the block gets the whole user info";
    EXPECT_EQ(segments[0].value("selectSegment").toString(), "selectBiggest");
}

TEST_F(LaunchHandshake, RequestsBeforeTheBlocksAreInstalledAreDropped) {
    launched.setStartScaningBlock({});
    launched.setSelectSegmentBlock({});
    launcherCenter.post(kScanCommand, {}, {{"pathToScan", "/srv"}});
    launcherCenter.post(kSegmentCommand, {}, {{"selectSegment", "selectBiggest"}});
    spinFor(200ms);
    EXPECT_FALSE(launched.pathToScan());
    EXPECT_TRUE(starts.empty());
    EXPECT_TRUE(segments.empty());
}

}  // namespace
}  // namespace korvex
