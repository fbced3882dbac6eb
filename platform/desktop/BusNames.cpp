#include "platform/desktop/BusNames.h"

#include <QDBusPendingCallWatcher>

#include <QDBusMessage>

namespace korvex::platform {

namespace {

QDBusMessage askBus(const QDBusConnection& bus, const QString& method, const QVariantList& args,
                    int timeoutMs) {
    auto call = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"),
                                               QStringLiteral("/org/freedesktop/DBus"),
                                               QStringLiteral("org.freedesktop.DBus"), method);
    call.setArguments(args);
    return bus.call(call, QDBus::Block, timeoutMs);
}

}  // namespace

bool busNameCanAnswer(const QDBusConnection& bus, const QString& name, int timeoutMs) {
    if (!bus.isConnected()) {
        return false;
    }
    const auto owned = askBus(bus, QStringLiteral("NameHasOwner"), {name}, timeoutMs);
    if (owned.type() == QDBusMessage::ReplyMessage && !owned.arguments().isEmpty() &&
        owned.arguments().constFirst().toBool()) {
        return true;
    }
    const auto activatable = askBus(bus, QStringLiteral("ListActivatableNames"), {}, timeoutMs);
    if (activatable.type() != QDBusMessage::ReplyMessage || activatable.arguments().isEmpty()) {
        return false;
    }
    return activatable.arguments().constFirst().toStringList().contains(name);
}

void callWithoutWaiting(const QDBusConnection& bus, const QDBusMessage& call, int timeoutMs,
                        std::function<void()> onFailure) {
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, timeoutMs));
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher,
                     [onFailure = std::move(onFailure)](QDBusPendingCallWatcher* finished) {
                         if (finished->isError() && onFailure) {
                             onFailure();
                         }
                         finished->deleteLater();
                     });
}

}  // namespace korvex::platform
