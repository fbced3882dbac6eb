#include "platform/desktop/ColorSchemePreference.h"

#include "platform/desktop/BusNames.h"

#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusVariant>

namespace korvex::platform {

namespace {
const QString kService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kInterface = QStringLiteral("org.freedesktop.portal.Settings");
const QString kGroup = QStringLiteral("org.freedesktop.appearance");
const QString kKey = QStringLiteral("color-scheme");
constexpr int kReplyTimeoutMs = 500;
}  // namespace

ColorSchemePreference::ColorSchemePreference(QDBusConnection bus, QObject* parent)
    : QObject(parent), mBus(std::move(bus)) {
    if (!mBus.isConnected() || !busNameCanAnswer(mBus, kService, kReplyTimeoutMs)) {
        return;
    }
    QDBusMessage call =
        QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("Read"));
    call << kGroup << kKey;
    const QDBusMessage reply = mBus.call(call, QDBus::Block, kReplyTimeoutMs);
    if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty()) {
        mPrefersDark = fromPortalValue(reply.arguments().constFirst());
    }
    mBus.connect(kService, kPath, kInterface, QStringLiteral("SettingChanged"), this,
                 SLOT(settingChanged(QString, QString, QDBusVariant)));
}

void ColorSchemePreference::settingChanged(const QString& group, const QString& key,
                                           const QDBusVariant& value) {
    if (group != kGroup || key != kKey) {
        return;
    }
    mPrefersDark = fromPortalValue(value.variant());
    emit changed();
}

// The Read answer wraps the value in one variant more than the signal does.
std::optional<bool> ColorSchemePreference::fromPortalValue(const QVariant& value) {
    QVariant inner = value;
    while (inner.canConvert<QDBusVariant>() && inner.userType() == qMetaTypeId<QDBusVariant>()) {
        inner = inner.value<QDBusVariant>().variant();
    }
    switch (inner.toUInt()) {
        case 1:
            return true;
        case 2:
            return false;
        default:
            return std::nullopt;
    }
}

}  // namespace korvex::platform
