#include "platform/desktop/LauncherProgress.h"

#include <QDBusMessage>
#include <QVariantMap>

#include <algorithm>
#include <cmath>

namespace korvex::platform {

LauncherProgress::LauncherProgress(QString desktopFileName, QDBusConnection bus)
    : mAppUri(QStringLiteral("application://") + desktopFileName), mBus(std::move(bus)) {}

void LauncherProgress::setProgress(double fraction) {
    fraction = std::clamp(fraction, 0.0, 1.0);
    // Docks redraw on every signal: a thousandth is finer than any icon.
    if (mSentOnce && std::abs(fraction - mFraction) < 0.001) {
        return;
    }
    mFraction = fraction;
    send();
}

void LauncherProgress::setVisible(bool visible) {
    if (mSentOnce && visible == mVisible) {
        return;
    }
    mVisible = visible;
    send();
}

void LauncherProgress::send() {
    mSentOnce = true;
    if (!mBus.isConnected()) {
        return;
    }
    QDBusMessage signal =
        QDBusMessage::createSignal(QString::fromLatin1(kObjectPath),
                                   QString::fromLatin1(kInterface), QStringLiteral("Update"));
    QVariantMap properties;
    properties.insert(QStringLiteral("progress"), mFraction);
    properties.insert(QStringLiteral("progress-visible"), mVisible);
    signal << mAppUri << properties;
    mBus.send(signal);
}

}  // namespace korvex::platform
