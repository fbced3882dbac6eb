#include "platform/qtloop/QtMainQueueDriver.h"

#include <QMetaObject>

#include <algorithm>
#include <chrono>

namespace korvex::platform {

QtMainQueueDriver::QtMainQueueDriver(QObject* parent) : QObject(parent) {
    mTimer.setSingleShot(true);
    mTimer.setTimerType(Qt::PreciseTimer);
    connect(&mTimer, &QTimer::timeout, this, &QtMainQueueDriver::serve);
    MainQueue::shared().bindToCurrentThread();
    MainQueue::shared().setDriver(this);
    // Anything posted before the loop existed.
    wakeSoon();
}

QtMainQueueDriver::~QtMainQueueDriver() {
    MainQueue::shared().setDriver(nullptr);
}

void QtMainQueueDriver::wakeSoon() {
    QMetaObject::invokeMethod(this, &QtMainQueueDriver::serve, Qt::QueuedConnection);
}

void QtMainQueueDriver::wakeAt(MainQueue::Clock::time_point when) {
    // The timer belongs to the loop's thread, so it is armed there.
    QMetaObject::invokeMethod(
        this, [this, when] { armTimer(when); }, Qt::QueuedConnection);
}

void QtMainQueueDriver::serve() {
    MainQueue::shared().runPending();
}

void QtMainQueueDriver::armTimer(MainQueue::Clock::time_point when) {
    using namespace std::chrono;
    const auto wait = duration_cast<milliseconds>(when - MainQueue::Clock::now());
    const int ms = static_cast<int>(std::clamp<milliseconds::rep>(wait.count() + 1, 0, 1 << 30));
    if (mTimer.isActive() && mTimer.remainingTime() <= ms) {
        return;
    }
    mTimer.start(ms);
}

}  // namespace korvex::platform
