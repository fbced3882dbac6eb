#include "IpcTestSupport.h"

#include "platform/qtloop/QtMainQueueDriver.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <cstdlib>
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
      mConnection(QDBusConnection::connectToBus(QDBusConnection::SessionBus, mName)) {}

BusPeer::~BusPeer() {
    QDBusConnection::disconnectFromBus(mName);
}

void PrivateBusTest::SetUp() {
    const char* marker = std::getenv("KORVEX_PRIVATE_SESSION_BUS");
    if (marker == nullptr || std::string(marker) != "1") {
        GTEST_SKIP() << "needs the private session bus of ctest (dbus-run-session)";
    }
    ASSERT_TRUE(QDBusConnection::sessionBus().isConnected());
}

}  // namespace korvex::test
