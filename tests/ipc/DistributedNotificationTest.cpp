#include "IpcTestSupport.h"

#include "platform/ipc/DistributedNotificationCenter.h"

#include <QDBusMessage>

#include <gtest/gtest.h>

#include <vector>

namespace korvex::platform {
namespace {

using namespace std::chrono_literals;
using test::BusPeer;
using test::spinFor;
using test::spinUntil;

class DistributedNotifications : public test::PrivateBusTest {
  protected:
    BusPeer posterPeer;
    BusPeer observerPeer;
    DistributedNotificationCenter poster{posterPeer.connection()};
    DistributedNotificationCenter observer{observerPeer.connection()};
};

TEST_F(DistributedNotifications, PostReachesAnotherProcessWithObjectAndUserInfo) {
    ASSERT_TRUE(poster.isConnected());
    std::vector<DistributedNotification> received;
    auto token = observer.addObserver(
        "Scan", {}, [&](const DistributedNotification& n) { received.push_back(n); });

    const QVariantMap info{{"path", QString::fromUtf8("/tmp/with \"quotes\"\nand é")},
                           {"count", 3},
                           {"names", QStringList{"a", "b"}},
                           {"dropped", QVariant()}};
    ASSERT_TRUE(poster.post("Scan", "sender", info));
    ASSERT_TRUE(spinUntil([&] { return !received.empty(); }));

    EXPECT_EQ(received[0].name, "Scan");
    EXPECT_EQ(received[0].object, "sender");
    EXPECT_EQ(received[0].userInfo.value("path").toString(), info.value("path").toString());
    EXPECT_EQ(received[0].userInfo.value("count").toInt(), 3);
    EXPECT_EQ(received[0].userInfo.value("names").toStringList(), (QStringList{"a", "b"}));
    EXPECT_FALSE(received[0].userInfo.contains("dropped"));
    observer.removeObserver(token);
}

TEST_F(DistributedNotifications, NameAndObjectFilterChooseTheObservers) {
    int anyObject = 0;
    int onlyA = 0;
    int otherName = 0;
    auto t1 = observer.addObserver("N", {}, [&](const auto&) { ++anyObject; });
    auto t2 = observer.addObserver("N", "a", [&](const auto&) { ++onlyA; });
    auto t3 = observer.addObserver("Other", {}, [&](const auto&) { ++otherName; });

    poster.post("N", "a");
    poster.post("N", "b");
    poster.post("N");
    ASSERT_TRUE(spinUntil([&] { return anyObject == 3; }));
    spinFor(100ms);
    EXPECT_EQ(onlyA, 1);
    EXPECT_EQ(otherName, 0);
    for (auto token : {t1, t2, t3}) {
        observer.removeObserver(token);
    }
}

TEST_F(DistributedNotifications, RemovedObserversHearNothingEvenWithinOneDelivery) {
    int first = 0;
    int second = 0;
    DistributedNotificationCenter::Token secondToken = 0;
    // The first handler removes the second before it would run.
    auto firstToken = observer.addObserver("N", {}, [&](const auto&) {
        ++first;
        observer.removeObserver(secondToken);
    });
    secondToken = observer.addObserver("N", {}, [&](const auto&) { ++second; });

    poster.post("N");
    ASSERT_TRUE(spinUntil([&] { return first == 1; }));
    observer.removeObserver(firstToken);
    poster.post("N");
    spinFor(150ms);
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 0);
}

TEST_F(DistributedNotifications, ThePostingProcessHearsItsOwnPosts) {
    int heard = 0;
    auto token = poster.addObserver("Self", {}, [&](const auto&) { ++heard; });
    poster.post("Self");
    EXPECT_TRUE(spinUntil([&] { return heard == 1; }));
    spinFor(100ms);
    EXPECT_EQ(heard, 1);
    poster.removeObserver(token);
}

TEST_F(DistributedNotifications, ForeignSignalsOfAnotherShapeAreIgnored) {
    int heard = 0;
    auto token = observer.addObserver("N", {}, [&](const auto&) { ++heard; });
    QDBusMessage odd = QDBusMessage::createSignal(DistributedNotificationCenter::kObjectPath,
                                                  DistributedNotificationCenter::kInterface,
                                                  DistributedNotificationCenter::kSignal);
    odd << QString("N") << 42;
    ASSERT_TRUE(posterPeer.connection().send(odd));
    poster.post("N");
    ASSERT_TRUE(spinUntil([&] { return heard == 1; }));
    spinFor(100ms);
    EXPECT_EQ(heard, 1);
    observer.removeObserver(token);
}

TEST(DistributedNotificationsWithoutBus, EverythingIsAHarmlessNoOp) {
    const QString name = "ipc-test-no-bus";
    {
        DistributedNotificationCenter center(
            QDBusConnection::connectToBus("unix:path=/nonexistent/korvex-bus", name));
        EXPECT_FALSE(center.isConnected());
        int heard = 0;
        auto token = center.addObserver("N", {}, [&](const auto&) { ++heard; });
        EXPECT_FALSE(center.post("N", "x", {{"k", "v"}}));
        center.removeObserver(token);
        EXPECT_EQ(heard, 0);
    }
    QDBusConnection::disconnectFromBus(name);
}

}  // namespace
}  // namespace korvex::platform
