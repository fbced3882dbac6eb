#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>

#include <cstdlib>
#include <cstring>

namespace korvex::test {

// Set by the test launcher only inside the bus daemon it starts for the run.
inline bool onPrivateBus() {
    const char* flag = std::getenv("KORVEX_PRIVATE_BUS");
    return flag != nullptr && std::strcmp(flag, "1") == 0;
}

// Serves the event loop until `done` holds or the time is up.
template <typename Condition>
bool spinUntil(Condition done, int milliseconds = 5000) {
    QDeadlineTimer deadline(milliseconds);
    while (!done()) {
        if (deadline.hasExpired()) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

}  // namespace korvex::test
