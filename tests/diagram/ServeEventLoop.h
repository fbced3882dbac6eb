#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>

namespace korvex::test {

// Serves the event loop until `done` holds or two seconds pass.
template <class Done>
bool spinUntil(Done done) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < 2000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return done();
}

// Serves the event loop for `ms` milliseconds, whatever happens.
inline void serveFor(int ms) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
}

}  // namespace korvex::test
