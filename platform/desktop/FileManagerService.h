#pragma once

#include <QDBusConnection>

#include <functional>
#include <string>
#include <vector>

namespace korvex::platform {

// The desktop's file manager, reached through the freedesktop FileManager1
// interface on the session bus. Calls to it are asynchronous: only a quick
// question to the bus daemon (is a file manager there?) runs while the caller
// waits, so the interface never hangs on a slow file manager.
class FileManagerService {
  public:
    // Opens a local file or folder with the desktop's default handler;
    // answers whether it was accepted.
    using PathOpener = std::function<bool(const std::string& path)>;

    static constexpr const char* kServiceName = "org.freedesktop.FileManager1";
    static constexpr const char* kObjectPath = "/org/freedesktop/FileManager1";
    static constexpr const char* kInterfaceName = "org.freedesktop.FileManager1";

    explicit FileManagerService(QDBusConnection bus = QDBusConnection::sessionBus());

    // The service over the session bus, for the application's menus.
    static FileManagerService& shared();

    // Shows the items selected in the file manager. Without one (or when it
    // refuses) the folders holding them are opened with the default handler
    // instead. Answers false only when nothing could be asked to show them.
    bool revealItems(const std::vector<std::string>& paths);

    // Opens the file manager's properties window for the items. Answers false
    // at once when no file manager is on the bus, so the caller can show its
    // own facts; `onRefused` runs later on this thread if the file manager
    // was asked but failed.
    bool showItemProperties(const std::vector<std::string>& paths,
                            std::function<void()> onRefused = {});

    bool openWithDefaultApplication(const std::string& path);

    // The default handler: through Qt for UTF-8 names, else xdg-open is given
    // the name's bytes unchanged.
    static bool openWithDesktopHandler(const std::string& path);

    // How long a file manager (perhaps being started by the bus) may take to
    // answer before the fallback is used.
    void setReplyTimeout(int milliseconds) { mReplyTimeoutMs = milliseconds; }
    void setPathOpener(PathOpener opener) { mOpener = std::move(opener); }

  private:
    bool fileManagerOnBus() const;
    bool openParentFolders(const std::vector<std::string>& paths) const;
    void callFileManager(const QString& method, const std::vector<std::string>& paths,
                         std::function<void()> onFailure) const;

    QDBusConnection mBus;
    PathOpener mOpener;
    int mReplyTimeoutMs = 10000;
};

}  // namespace korvex::platform
