#include "platform/desktop/FileManagerService.h"

#include "platform/desktop/BusNames.h"
#include "platform/desktop/FileUris.h"

#include <QDBusMessage>
#include <QDesktopServices>

#include <QFile>
#include <QUrl>

#include <spawn.h>
#include <sys/wait.h>

#include <set>
#include <thread>

extern char** environ;

namespace korvex::platform {

FileManagerService::FileManagerService(QDBusConnection bus)
    : mBus(std::move(bus)), mOpener(&FileManagerService::openWithDesktopHandler) {}

FileManagerService& FileManagerService::shared() {
    static FileManagerService service;
    return service;
}

bool FileManagerService::revealItems(const std::vector<std::string>& paths) {
    if (paths.empty()) {
        return false;
    }
    if (!fileManagerOnBus()) {
        return openParentFolders(paths);
    }
    const PathOpener opener = mOpener;
    callFileManager(QStringLiteral("ShowItems"), paths, [opener, paths] {
        std::set<std::string> seen;
        for (const auto& path : paths) {
            const auto folder = parentFolderOf(path);
            if (seen.insert(folder).second) {
                opener(folder);
            }
        }
    });
    return true;
}

bool FileManagerService::showItemProperties(const std::vector<std::string>& paths,
                                            std::function<void()> onRefused) {
    if (paths.empty() || !fileManagerOnBus()) {
        return false;
    }
    callFileManager(QStringLiteral("ShowItemProperties"), paths, std::move(onRefused));
    return true;
}

bool FileManagerService::openWithDefaultApplication(const std::string& path) {
    if (path.empty()) {
        return false;
    }
    return mOpener(path);
}

bool FileManagerService::openWithDesktopHandler(const std::string& path) {
    if (isUtf8Path(path)) {
        return QDesktopServices::openUrl(QUrl::fromLocalFile(
            QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size())))));
    }
    char program[] = "xdg-open";
    std::string argument = path;
    char* argv[] = {program, argument.data(), nullptr};
    pid_t child = 0;
    if (posix_spawnp(&child, program, nullptr, nullptr, argv, environ) != 0) {
        return false;
    }
    // The handler returns quickly; reap it without holding up the caller.
    std::thread([child] { waitpid(child, nullptr, 0); }).detach();
    return true;
}

bool FileManagerService::fileManagerOnBus() const {
    return busNameCanAnswer(mBus, QString::fromLatin1(kServiceName));
}

bool FileManagerService::openParentFolders(const std::vector<std::string>& paths) const {
    std::set<std::string> seen;
    bool opened = false;
    for (const auto& path : paths) {
        const auto folder = parentFolderOf(path);
        if (seen.insert(folder).second) {
            opened = mOpener(folder) || opened;
        }
    }
    return opened;
}

void FileManagerService::callFileManager(const QString& method,
                                         const std::vector<std::string>& paths,
                                         std::function<void()> onFailure) const {
    auto call = QDBusMessage::createMethodCall(QString::fromLatin1(kServiceName),
                                               QString::fromLatin1(kObjectPath),
                                               QString::fromLatin1(kInterfaceName), method);
    // No startup notification id: the file manager raises its own window.
    call << fileUrisForPaths(paths) << QString();
    callWithoutWaiting(mBus, call, mReplyTimeoutMs, std::move(onFailure));
}

}  // namespace korvex::platform
