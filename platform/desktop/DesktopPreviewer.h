#pragma once

#include <QDBusConnection>

#include <functional>
#include <string>

namespace korvex::platform {

// A previewer of the desktop that answers on the session bus (the GNOME one
// registers org.gnome.NautilusPreviewer). The file is handed over
// asynchronously; only the question whether one is there is waited for.
class DesktopPreviewer {
  public:
    static constexpr const char* kServiceName = "org.gnome.NautilusPreviewer";
    static constexpr const char* kObjectPath = "/org/gnome/NautilusPreviewer";
    static constexpr const char* kInterfaceName = "org.gnome.NautilusPreviewer";

    explicit DesktopPreviewer(QDBusConnection bus = QDBusConnection::sessionBus());

    bool isAvailable() const;

    // Asks the previewer to show the file; answers whether one is there.
    // `onFailure` runs later on this thread if it then refused, so the caller
    // can show the file another way. `windowHandle` is the native id of the
    // window the preview belongs to, or 0.
    bool showFile(const std::string& path, quint32 windowHandle = 0,
                  std::function<void()> onFailure = {});

    // Closes a preview it shows; never starts a previewer for that.
    void close();

    void setReplyTimeout(int milliseconds) { mReplyTimeoutMs = milliseconds; }

  private:
    QDBusConnection mBus;
    int mReplyTimeoutMs = 5000;
};

}  // namespace korvex::platform
