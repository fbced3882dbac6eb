#pragma once

#include "platform/dispatch/MainQueue.h"

#include <QObject>
#include <QTimer>

namespace korvex::platform {

// Serves the main queue from the Qt event loop of the thread that creates
// it: posted blocks run on the next turn of the loop, timers when they are
// due. The queue may wake it from any thread.
class QtMainQueueDriver : public QObject, public MainQueue::Driver {
    Q_OBJECT
  public:
    explicit QtMainQueueDriver(QObject* parent = nullptr);
    ~QtMainQueueDriver() override;

    void wakeSoon() override;
    void wakeAt(MainQueue::Clock::time_point when) override;

  private:
    void serve();
    void armTimer(MainQueue::Clock::time_point when);

    QTimer mTimer;
};

}  // namespace korvex::platform
