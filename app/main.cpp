// Korvex, the desktop application: one window per user session.

#include "app/startup/AppStartupDelegate.h"
#include "app/startup/LaunchArguments.h"
#include "app/toolkit/Appearance.h"
#include "app/window/MainWindow.h"
#include "diagram/volumes/TargetIcons.h"
#include "platform/MemoryReuse.h"
#include "platform/ipc/SingleInstance.h"
#include "platform/qtloop/QtMainQueueDriver.h"

#include <QApplication>
#include <QFile>

#include <string>
#include <vector>

namespace {

QStringList toQt(const std::vector<std::string>& paths) {
    QStringList list;
    for (const std::string& path : paths) {
        list << QFile::decodeName(QByteArray::fromStdString(path));
    }
    return list;
}

std::vector<std::string> fromQt(const QStringList& paths) {
    std::vector<std::string> list;
    for (const QString& path : paths) {
        list.push_back(QFile::encodeName(path).toStdString());
    }
    return list;
}

void bringToFront(QWidget& window) {
    window.show();
    window.setWindowState((window.windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    window.raise();
    window.activateWindow();
}

}  // namespace

int main(int argc, char** argv) {
    korvex::platform::keepFreedMemoryForReuse();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Korvex"));
    QApplication::setApplicationDisplayName(QStringLiteral("Korvex"));
    QGuiApplication::setDesktopFileName(QStringLiteral("korvex"));
    const std::vector<std::string> folders = korvex::foldersFromArguments(app.arguments());

    // A second start hands its folders to the window already open.
    korvex::platform::SingleInstance instance;
    if (instance.claim() == korvex::platform::SingleInstance::Role::Secondary &&
        instance.handOver(toQt(folders))) {
        return 0;
    }

    korvex::platform::QtMainQueueDriver mainQueue;
    korvex::useSystemIconThemeWhenUnset();
    korvex::Appearance::applyToApplication();

    korvex::MainWindow window;
    window.show();
    korvex::AppStartupDelegate startup(window.treeController());
    instance.setOpenFilesHandler([&](const QStringList& paths) {
        bringToFront(window);
        startup.application(&app, fromQt(paths));
    });
    instance.setActivateHandler([&] { bringToFront(window); });
    startup.tellOtherApplicationsThatAppStarted();
    if (folders.size() == 1) {
        startup.application(&app, folders.front());
    } else if (!folders.empty()) {
        startup.application(&app, folders);
    }
    return QApplication::exec();
}
