#include "platform/ipc/DistributedNotificationCenter.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDebug>

#include <vector>

namespace korvex::platform {
namespace {

const QString kSignature = QStringLiteral("ssa{sv}");

QVariantMap carriable(const QVariantMap& userInfo) {
    QVariantMap result;
    for (auto it = userInfo.cbegin(); it != userInfo.cend(); ++it) {
        if (it.value().isValid()) {
            result.insert(it.key(), it.value());
        }
    }
    return result;
}

}  // namespace

DistributedNotificationCenter& DistributedNotificationCenter::shared() {
    // Left alive on purpose: it must not outlive the bus connection's teardown
    // at exit in an undefined order.
    static auto* center = new DistributedNotificationCenter(QDBusConnection::sessionBus());
    return *center;
}

DistributedNotificationCenter::DistributedNotificationCenter(const QDBusConnection& connection,
                                                             QObject* parent)
    : QObject(parent), mConnection(connection) {
    if (!mConnection.isConnected()) {
        qWarning().noquote() << "Distributed notifications are off: no session bus ("
                             << mConnection.lastError().message() << ")";
        return;
    }
    mConnected = mConnection.connect(QString(), QString::fromLatin1(kObjectPath),
                                     QString::fromLatin1(kInterface), QString::fromLatin1(kSignal),
                                     this, SLOT(receive(QDBusMessage)));
    if (!mConnected) {
        qWarning().noquote() << "Distributed notifications are off: cannot listen on the bus ("
                             << mConnection.lastError().message() << ")";
    }
}

DistributedNotificationCenter::~DistributedNotificationCenter() {
    if (mConnected) {
        mConnection.disconnect(QString(), QString::fromLatin1(kObjectPath),
                               QString::fromLatin1(kInterface), QString::fromLatin1(kSignal), this,
                               SLOT(receive(QDBusMessage)));
    }
}

bool DistributedNotificationCenter::post(const QString& name, const QString& object,
                                         const QVariantMap& userInfo) {
    if (!mConnected) {
        qDebug().noquote() << "Not posted (no session bus):" << name;
        return false;
    }
    QDBusMessage message =
        QDBusMessage::createSignal(QString::fromLatin1(kObjectPath),
                                   QString::fromLatin1(kInterface), QString::fromLatin1(kSignal));
    message << name << object << QVariant(carriable(userInfo));
    return mConnection.send(message);
}

DistributedNotificationCenter::Token DistributedNotificationCenter::addObserver(
    const QString& name, const QString& object, Handler handler) {
    return mObservers.add(ObservedKey{name, object}, std::move(handler));
}

void DistributedNotificationCenter::removeObserver(Token token) {
    mObservers.remove(token);
}

void DistributedNotificationCenter::receive(const QDBusMessage& message) {
    // Anyone on the bus may send this signal; malformed ones are dropped.
    if (message.signature() != kSignature) {
        return;
    }
    const QList<QVariant> arguments = message.arguments();
    DistributedNotification notification;
    notification.name = arguments.at(0).toString();
    notification.object = arguments.at(1).toString();
    notification.userInfo = qdbus_cast<QVariantMap>(arguments.at(2));
    deliver(notification);
}

void DistributedNotificationCenter::deliver(const DistributedNotification& notification) {
    mObservers.deliver(
        [&notification](const ObservedKey& key) {
            return key.name == notification.name &&
                   (key.object.isEmpty() || key.object == notification.object);
        },
        notification);
}

}  // namespace korvex::platform
