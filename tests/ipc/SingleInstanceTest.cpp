#include "IpcTestSupport.h"

#include "platform/ipc/SingleInstance.h"

#include <gtest/gtest.h>

#include <memory>

namespace korvex::platform {
namespace {

using test::BusPeer;
using test::spinUntil;
using Role = SingleInstance::Role;

const QString kTestName = "com.halvorn.korvex.test";

class SingleInstances : public test::PrivateBusTest {
  protected:
    BusPeer firstPeer;
    BusPeer secondPeer;
};

TEST_F(SingleInstances, TheSecondProcessHandsItsFoldersToTheFirst) {
    SingleInstance first(firstPeer.connection(), kTestName);
    QStringList received;
    int activations = 0;
    first.setOpenFilesHandler([&](const QStringList& paths) { received = paths; });
    first.setActivateHandler([&] { ++activations; });
    ASSERT_EQ(first.claim(), Role::Primary);

    SingleInstance second(secondPeer.connection(), kTestName);
    ASSERT_EQ(second.claim(), Role::Secondary);
    const QStringList paths{"/tmp/b", "/tmp/a", QString::fromUtf8("/tmp/new\nline \"é\"")};
    EXPECT_TRUE(second.handOver(paths, 3000));
    EXPECT_EQ(received, paths);
    EXPECT_EQ(activations, 0);

    // Started without folders: the first only raises its window.
    EXPECT_TRUE(second.handOver({}, 3000));
    EXPECT_EQ(activations, 1);
}

TEST_F(SingleInstances, TheNameIsFreeAgainWhenTheFirstProcessGoes) {
    auto first = std::make_unique<SingleInstance>(firstPeer.connection(), kTestName);
    ASSERT_EQ(first->claim(), Role::Primary);
    EXPECT_EQ(first->claim(), Role::Primary) << "claiming again keeps the role";
    EXPECT_FALSE(first->handOver({"/tmp"})) << "only a secondary hands over";
    first.reset();

    SingleInstance next(secondPeer.connection(), kTestName);
    EXPECT_EQ(next.claim(), Role::Primary);
}

TEST_F(SingleInstances, AHandOverNobodyServesFails) {
    // The name is owned by a connection that exports no instance object.
    ASSERT_TRUE(firstPeer.connection().registerService(kTestName));
    SingleInstance second(secondPeer.connection(), kTestName);
    ASSERT_EQ(second.claim(), Role::Secondary);
    EXPECT_FALSE(second.handOver({"/tmp"}, 2000));
    firstPeer.connection().unregisterService(kTestName);
}

TEST(SingleInstanceWithoutBus, RunsAlone) {
    const QString name = "ipc-test-instance-no-bus";
    {
        SingleInstance alone(
            QDBusConnection::connectToBus("unix:path=/nonexistent/korvex-bus", name), kTestName);
        EXPECT_EQ(alone.claim(), Role::Alone);
        EXPECT_FALSE(alone.handOver({"/tmp"}));
    }
    QDBusConnection::disconnectFromBus(name);
}

}  // namespace
}  // namespace korvex::platform
