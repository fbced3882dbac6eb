#pragma once

#include <QDBusConnection>
#include <QString>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>

namespace korvex::test {

// The requests sibling applications post to start a scan or switch the segment.
inline const QString kScanCommand = "ScanPathCommandFromExternalAppNotificationName";
inline const QString kSegmentCommand = "SegmentSelectionCommandFromExternalAppNotificationName";

// Serves the Qt event loop (and with it the main queue) until `done` answers
// true or `limit` passes; answers `done()`.
bool spinUntil(const std::function<bool()>& done,
               std::chrono::milliseconds limit = std::chrono::seconds(5));
void spinFor(std::chrono::milliseconds duration);

// A connection of its own to the session bus, standing for another process;
// disconnected when the object goes.
class BusPeer {
  public:
    BusPeer();
    ~BusPeer();
    BusPeer(const BusPeer&) = delete;
    BusPeer& operator=(const BusPeer&) = delete;
    QDBusConnection connection() const { return mConnection; }

  private:
    QString mName;
    QDBusConnection mConnection;
};

// Base for tests that talk over D-Bus: they run only on the private session
// bus the test run starts, never on the user's.
class PrivateBusTest : public ::testing::Test {
  protected:
    void SetUp() override;
};

}  // namespace korvex::test
