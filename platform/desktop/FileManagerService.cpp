#include "platform/desktop/FileManagerService.h"

#include "platform/desktop/BusNames.h"
#include "platform/desktop/FileUris.h"

#include <QCoreApplication>
#include <QDBusMessage>

#include <spawn.h>
#include <sys/wait.h>

#include <memory>
#include <set>
#include <thread>

extern char** environ;

namespace korvex::platform {

namespace {

FileManagerService* gReplacement = nullptr;

void openWithDesktopHandlerOrFail(const std::string& path, FileManagerService::Opened done) {
    if (!FileManagerService::openWithDesktopHandler(path, done) && done) {
        done(false);
    }
}

// Opens every distinct folder holding one of the paths; `onNothingOpened`
// runs once all have answered and none was opened.
void openParentFolders(const FileManagerService::PathOpener& opener,
                       const std::vector<std::string>& paths,
                       FileManagerService::NothingOpened onNothingOpened) {
    std::vector<std::string> folders;
    std::set<std::string> seen;
    for (const auto& path : paths) {
        std::string folder = parentFolderOf(path);
        if (seen.insert(folder).second) {
            folders.push_back(std::move(folder));
        }
    }
    struct Tally {
        std::size_t pending;
        bool anyOpened = false;
        FileManagerService::NothingOpened onNothingOpened;
    };
    auto tally = std::make_shared<Tally>(Tally{folders.size(), false, std::move(onNothingOpened)});
    for (const auto& folder : folders) {
        opener(folder, [tally](bool opened) {
            tally->anyOpened = tally->anyOpened || opened;
            if (--tally->pending == 0 && !tally->anyOpened && tally->onNothingOpened) {
                tally->onNothingOpened();
            }
        });
    }
}

}  // namespace

FileManagerService::FileManagerService(QDBusConnection bus)
    : mBus(std::move(bus)), mOpener(&openWithDesktopHandlerOrFail) {}

FileManagerService& FileManagerService::shared() {
    static FileManagerService service;
    return gReplacement != nullptr ? *gReplacement : service;
}

void FileManagerService::replaceShared(FileManagerService* service) {
    gReplacement = service;
}

bool FileManagerService::revealItems(const std::vector<std::string>& paths,
                                     NothingOpened onNothingOpened) {
    return askFileManager(QStringLiteral("ShowItems"), paths, std::move(onNothingOpened));
}

bool FileManagerService::showItemProperties(const std::vector<std::string>& paths,
                                            NothingOpened onNothingOpened) {
    return askFileManager(QStringLiteral("ShowItemProperties"), paths, std::move(onNothingOpened));
}

bool FileManagerService::openWithDefaultApplication(const std::string& path, Opened done) {
    if (path.empty()) {
        return false;
    }
    mOpener(
        path, done ? std::move(done) : [](bool) {});
    return true;
}

bool FileManagerService::openWithDesktopHandler(const std::string& path, Opened done) {
    char program[] = "xdg-open";
    std::string argument = path;
    char* argv[] = {program, argument.data(), nullptr};
    pid_t child = 0;
    if (path.empty() || posix_spawnp(&child, program, nullptr, nullptr, argv, environ) != 0) {
        return false;
    }
    // The handler returns quickly; reap it without holding up the caller and
    // tell its answer on the main thread.
    QCoreApplication* app = done ? QCoreApplication::instance() : nullptr;
    std::thread([child, app, done = std::move(done)] {
        int status = 0;
        const bool reaped = waitpid(child, &status, 0) == child;
        const bool opened = reaped && WIFEXITED(status) && WEXITSTATUS(status) == 0;
        if (app != nullptr) {
            QMetaObject::invokeMethod(
                app, [done, opened] { done(opened); }, Qt::QueuedConnection);
        }
    }).detach();
    return true;
}

bool FileManagerService::askFileManager(const QString& method,
                                        const std::vector<std::string>& paths,
                                        NothingOpened onNothingOpened) {
    if (paths.empty()) {
        return false;
    }
    if (!fileManagerOnBus()) {
        openParentFolders(mOpener, paths, std::move(onNothingOpened));
        return true;
    }
    auto call = QDBusMessage::createMethodCall(QString::fromLatin1(kServiceName),
                                               QString::fromLatin1(kObjectPath),
                                               QString::fromLatin1(kInterfaceName), method);
    // No startup notification id: the file manager raises its own window.
    call << fileUrisForPaths(paths) << QString();
    callWithoutWaiting(mBus, call, mReplyTimeoutMs,
                       [opener = mOpener, paths, onNothingOpened = std::move(onNothingOpened)] {
                           openParentFolders(opener, paths, onNothingOpened);
                       });
    return true;
}

bool FileManagerService::fileManagerOnBus() const {
    return busNameCanAnswer(mBus, QString::fromLatin1(kServiceName));
}

}  // namespace korvex::platform
