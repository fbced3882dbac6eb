#include "platform/ipc/SingleInstance.h"

#include "platform/ipc/SingleInstanceEndpoint.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDebug>

namespace korvex::platform {

SingleInstance::SingleInstance(const QDBusConnection& connection, const QString& serviceName,
                               QObject* parent)
    : QObject(parent), mConnection(connection), mServiceName(serviceName) {}

SingleInstance::~SingleInstance() {
    release();
}

SingleInstance::Role SingleInstance::claim() {
    if (mRole != Role::Unclaimed) {
        return mRole;
    }
    QDBusConnectionInterface* bus = mConnection.isConnected() ? mConnection.interface() : nullptr;
    if (bus == nullptr) {
        qInfo().noquote() << "No session bus; running as a separate instance";
        mRole = Role::Alone;
        return mRole;
    }
    // The object is in place before the name is, so a caller that sees the
    // name finds the methods.
    mEndpoint = std::make_unique<SingleInstanceEndpoint>(*this);
    if (!mConnection.registerObject(QString::fromLatin1(kObjectPath), mEndpoint.get(),
                                    QDBusConnection::ExportAllSlots)) {
        qWarning().noquote() << "Cannot export the instance object; running alone";
        mEndpoint.reset();
        mRole = Role::Alone;
        return mRole;
    }
    const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply =
        bus->registerService(mServiceName, QDBusConnectionInterface::DontQueueService,
                             QDBusConnectionInterface::DontAllowReplacement);
    if (reply.isValid() && reply.value() == QDBusConnectionInterface::ServiceRegistered) {
        mRole = Role::Primary;
        return mRole;
    }
    mConnection.unregisterObject(QString::fromLatin1(kObjectPath));
    mEndpoint.reset();
    if (!reply.isValid()) {
        qWarning().noquote() << "Cannot claim" << mServiceName << ":" << reply.error().message()
                             << "; running alone";
        mRole = Role::Alone;
        return mRole;
    }
    mRole = Role::Secondary;
    return mRole;
}

bool SingleInstance::handOver(const QStringList& paths, int timeoutMs) {
    if (mRole != Role::Secondary) {
        return false;
    }
    const bool openFiles = !paths.isEmpty();
    QDBusMessage call = QDBusMessage::createMethodCall(
        mServiceName, QString::fromLatin1(kObjectPath), QString::fromLatin1(kInterface),
        openFiles ? QStringLiteral("OpenFiles") : QStringLiteral("Activate"));
    if (openFiles) {
        call << paths;
    }
    // The event loop keeps running while waiting, so a primary served by the
    // same thread (as in one process with two connections) can answer.
    const QDBusMessage answer = mConnection.call(call, QDBus::BlockWithGui, timeoutMs);
    if (answer.type() != QDBusMessage::ReplyMessage) {
        qWarning().noquote() << "The running instance did not take the request:"
                             << answer.errorMessage();
        return false;
    }
    return true;
}

void SingleInstance::openFilesRequested(const QStringList& paths) {
    if (mOpenFiles) {
        mOpenFiles(paths);
    }
}

void SingleInstance::activateRequested() {
    if (mActivate) {
        mActivate();
    }
}

void SingleInstance::release() {
    if (mRole != Role::Primary) {
        return;
    }
    mConnection.unregisterObject(QString::fromLatin1(kObjectPath));
    if (QDBusConnectionInterface* bus = mConnection.interface()) {
        bus->unregisterService(mServiceName);
    }
    mEndpoint.reset();
    mRole = Role::Unclaimed;
}

}  // namespace korvex::platform
