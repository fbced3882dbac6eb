#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QString>

#include <functional>

namespace korvex::platform {

// Whether a service can answer on `bus` under `name`: someone owns the name
// now, or the bus can start a program for it. Both questions go to the bus
// daemon only and give up after `timeoutMs`, so a stuck bus costs little.
bool busNameCanAnswer(const QDBusConnection& bus, const QString& name, int timeoutMs = 500);

// Sends `call` without waiting; `onFailure` runs on this thread when the
// answer is an error or does not come in time.
void callWithoutWaiting(const QDBusConnection& bus, const QDBusMessage& call, int timeoutMs,
                        std::function<void()> onFailure);

}  // namespace korvex::platform
