#include "platform/desktop/DesktopPreviewer.h"

#include "platform/desktop/BusNames.h"
#include "platform/desktop/FileUris.h"

#include <QDBusMessage>

namespace korvex::platform {

namespace {

QDBusMessage previewerCall(const char* method) {
    return QDBusMessage::createMethodCall(QString::fromLatin1(DesktopPreviewer::kServiceName),
                                          QString::fromLatin1(DesktopPreviewer::kObjectPath),
                                          QString::fromLatin1(DesktopPreviewer::kInterfaceName),
                                          QString::fromLatin1(method));
}

}  // namespace

DesktopPreviewer::DesktopPreviewer(QDBusConnection bus) : mBus(std::move(bus)) {}

bool DesktopPreviewer::isAvailable() const {
    return busNameCanAnswer(mBus, QString::fromLatin1(kServiceName));
}

bool DesktopPreviewer::showFile(const std::string& path, quint32 windowHandle,
                                std::function<void()> onFailure) {
    if (path.empty() || !isAvailable()) {
        return false;
    }
    auto call = previewerCall("ShowFile");
    // Signature (sib): the file URI, the window it belongs to, and whether a
    // preview already showing this file should close instead.
    call << fileUriForPath(path) << static_cast<qint32>(windowHandle) << false;
    callWithoutWaiting(mBus, call, mReplyTimeoutMs, std::move(onFailure));
    return true;
}

void DesktopPreviewer::close() {
    auto call = previewerCall("Close");
    call.setAutoStartService(false);
    mBus.send(call);
}

}  // namespace korvex::platform
