#include "IpcTestSupport.h"

#include "platform/qtloop/QtMainQueueDriver.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <cstdlib>
#include <string>
#include <thread>

namespace korvex::test {
namespace {

// One application object and main-queue driver for the whole program.
class QtEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "ipc_tests";
        static char* argv[] = {name, nullptr};
        mApp = new QGuiApplication(argc, argv);
        mDriver = new platform::QtMainQueueDriver;
    }
    void TearDown() override {
        delete mDriver;
        delete mApp;
    }

  private:
    QGuiApplication* mApp = nullptr;
    platform::QtMainQueueDriver* mDriver = nullptr;
};

[[maybe_unused]] const ::testing::Environment* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtEnvironment);

int gPeerCount = 0;

bool onPrivateBus() {
    const char* marker = std::getenv("KORVEX_PRIVATE_SESSION_BUS");
    return marker != nullptr && std::string(marker) == "1";
}

// Outside the private bus, peers get a connection that goes nowhere, so a
// test program started by hand never reaches the user's bus.
QDBusConnection connectPeer(const QString& name) {
    if (!onPrivateBus()) {
        return QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent/korvex-bus"),
                                             name);
    }
    return QDBusConnection::connectToBus(QDBusConnection::SessionBus, name);
}

}  // namespace

bool spinUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done() && std::chrono::steady_clock::now() < deadline) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return done();
}

void spinFor(std::chrono::milliseconds duration) {
    spinUntil([] { return false; }, duration);
}

BusPeer::BusPeer()
    : mName(QStringLiteral("ipc-test-peer-%1").arg(++gPeerCount)),
      mConnection(connectPeer(mName)) {}

BusPeer::~BusPeer() {
    QDBusConnection::disconnectFromBus(mName);
}

void PrivateBusTest::SetUp() {
    if (!onPrivateBus()) {
        GTEST_SKIP() << "needs the private session bus of ctest (dbus-run-session)";
    }
    ASSERT_TRUE(QDBusConnection::sessionBus().isConnected());
}

}  // namespace korvex::test
