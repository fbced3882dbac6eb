// Scan time of the real main window, drawn offscreen: from the start of a
// scan to its end-of-scan notification, with the window's live updates (the
// diagram, the lists, the progress) running as they do for the user. Prints
// the time in the same form as `korvex-cli scan`, so that bench/scan/run.sh
// can set the two side by side; peak memory is measured from outside.
//
//   korvex-bench-window DIR

#include "app/window/MainWindow.h"
#include "platform/MemoryReuse.h"
#include "platform/dispatch/NotificationCenter.h"
#include "platform/qtloop/QtMainQueueDriver.h"
#include "platform/settings/SettingsStore.h"
#include "scan/model/ScanNotifications.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <unistd.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

using namespace korvex;

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: korvex-bench-window DIR\n");
        return 2;
    }
    const std::string target = std::filesystem::absolute(argv[1]).lexically_normal().string();
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    // The window's settings go to a scratch file, never the user's.
    const std::filesystem::path scratch = std::filesystem::temp_directory_path() /
                                          ("korvex-bench-window-" + std::to_string(::getpid()));
    std::filesystem::create_directories(scratch / "home");
    platform::SettingsStore::useStandardFile((scratch / "settings.json").string());

    int status = 1;
    {
        platform::keepFreedMemoryForReuse();  // as the application does
        QApplication app(argc, argv);
        new platform::QtMainQueueDriver(&app);
        MainWindow window((scratch / "home").string());
        window.resize(1200, 800);
        window.show();

        QEventLoop loop;
        bool ended = false;
        auto& center = platform::NotificationCenter::defaultCenter();
        auto finished =
            center.addObserver(scanNotifications::kFinishWalkingVolume, [&](const std::any&) {
                ended = true;
                loop.quit();
            });
        QTimer::singleShot(std::chrono::minutes(10), &loop, &QEventLoop::quit);
        QElapsedTimer clock;
        clock.start();
        window.treeController().doScanFolder(target);
        loop.exec();
        const double seconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;
        if (ended) {
            std::printf("%s\n  time           %.3f s\n", target.c_str(), seconds);
            status = 0;
        } else {
            std::fprintf(stderr, "korvex-bench-window: the scan of %s did not end\n",
                         target.c_str());
        }
    }
    platform::SettingsStore::useStandardFile({});
    std::filesystem::remove_all(scratch);
    return status;
}
