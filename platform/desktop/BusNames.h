#pragma once

#include <QDBusConnection>
#include <QString>

namespace korvex::platform {

// Whether a service can answer on `bus` under `name`: someone owns the name
// now, or the bus can start a program for it. Both questions go to the bus
// daemon only and give up after `timeoutMs`, so a stuck bus costs little.
bool busNameCanAnswer(const QDBusConnection& bus, const QString& name, int timeoutMs = 500);

}  // namespace korvex::platform
