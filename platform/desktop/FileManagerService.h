#pragma once

#include <QDBusConnection>

#include <functional>
#include <string>
#include <vector>

namespace korvex::platform {

// The desktop's file manager, reached through the freedesktop FileManager1
// interface on the session bus. Calls to it are asynchronous: only a quick
// question to the bus daemon (is a file manager there?) runs while the caller
// waits, so the interface never hangs on a slow file manager. Where no file
// manager answers, the folders holding the items are opened with the
// desktop's default handler instead.
class FileManagerService {
  public:
    // Told once known, on the main thread, whether a program took the path.
    using Opened = std::function<void(bool opened)>;
    // Opens a local file or folder with the desktop's default handler.
    using PathOpener = std::function<void(const std::string& path, Opened done)>;
    // Runs when neither the file manager nor the default handler could show
    // the items, so the caller can tell the user.
    using NothingOpened = std::function<void()>;

    static constexpr const char* kServiceName = "org.freedesktop.FileManager1";
    static constexpr const char* kObjectPath = "/org/freedesktop/FileManager1";
    static constexpr const char* kInterfaceName = "org.freedesktop.FileManager1";

    explicit FileManagerService(QDBusConnection bus = QDBusConnection::sessionBus());

    // The service over the session bus, for the application's menus.
    static FileManagerService& shared();
    // Puts `service` in the shared one's place until called with nothing:
    // tests give the window a bus without a file manager and an opener that
    // records what it was asked.
    static void replaceShared(FileManagerService* service);

    // Shows the items selected in the file manager, else opens the folders
    // holding them. Answers false for no paths.
    bool revealItems(const std::vector<std::string>& paths, NothingOpened onNothingOpened = {});
    // Opens the file manager's properties window for the items, else the
    // folders holding them. Answers false for no paths.
    bool showItemProperties(const std::vector<std::string>& paths,
                            NothingOpened onNothingOpened = {});

    bool openWithDefaultApplication(const std::string& path, Opened done = {});

    // Hands the path's bytes unchanged to xdg-open; answers whether it
    // started. `done`, when given, runs later on the main thread with
    // whether xdg-open could open the path.
    static bool openWithDesktopHandler(const std::string& path, Opened done = {});

    // How long a file manager (perhaps being started by the bus) may take to
    // answer before the fallback is used.
    void setReplyTimeout(int milliseconds) { mReplyTimeoutMs = milliseconds; }
    void setPathOpener(PathOpener opener) { mOpener = std::move(opener); }

  private:
    bool askFileManager(const QString& method, const std::vector<std::string>& paths,
                        NothingOpened onNothingOpened);
    bool fileManagerOnBus() const;

    QDBusConnection mBus;
    PathOpener mOpener;
    int mReplyTimeoutMs = 10000;
};

}  // namespace korvex::platform
