#pragma once

#include <QDBusConnection>
#include <QString>

namespace korvex::platform {

// Draws a progress bar over the application's icon in the desktop's dock or
// task bar, through the launcher-entry signal that docks and task managers
// listen for on the session bus. Without a listener the signal goes nowhere.
class LauncherProgress {
  public:
    static constexpr const char* kInterface = "com.canonical.Unity.LauncherEntry";
    static constexpr const char* kObjectPath = "/com/halvorn/korvex/LauncherEntry";

    explicit LauncherProgress(QString desktopFileName = QStringLiteral("korvex.desktop"),
                              QDBusConnection bus = QDBusConnection::sessionBus());

    // `fraction` between 0 and 1; repeated values are not sent again.
    void setProgress(double fraction);
    void setVisible(bool visible);

  private:
    void send();

    QString mAppUri;
    QDBusConnection mBus;
    double mFraction = 0;
    bool mVisible = false;
    bool mSentOnce = false;
};

}  // namespace korvex::platform
