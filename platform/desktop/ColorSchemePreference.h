#pragma once

#include <QDBusConnection>
#include <QDBusVariant>
#include <QObject>

#include <optional>

namespace korvex::platform {

// The desktop's light or dark preference, as the freedesktop settings portal
// publishes it ("org.freedesktop.appearance" / "color-scheme": 1 prefers
// dark, 2 prefers light, 0 no preference). Told again whenever the user
// changes it while the application runs.
class ColorSchemePreference : public QObject {
    Q_OBJECT
  public:
    explicit ColorSchemePreference(QDBusConnection bus = QDBusConnection::sessionBus(),
                                   QObject* parent = nullptr);

    // Dark, light, or nothing when the desktop states no preference.
    std::optional<bool> prefersDark() const { return mPrefersDark; }

  signals:
    void changed();

  private slots:
    void settingChanged(const QString& group, const QString& key, const QDBusVariant& value);

  private:
    static std::optional<bool> fromPortalValue(const QVariant& value);

    QDBusConnection mBus;
    std::optional<bool> mPrefersDark;
};

}  // namespace korvex::platform
