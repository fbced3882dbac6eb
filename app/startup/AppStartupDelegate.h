#pragma once

#include "app/startup/ScanRequestTarget.h"
#include "app/startup/StartScanningInLaunchedAppManager.h"

#include <QVariantMap>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

class QCoreApplication;

namespace korvex {

// The application's answers to the requests that arrive at start-up and
// later: folders handed over by the desktop or by another instance, and the
// scan and segment requests of sibling applications. It turns each into a
// call on the main window controller. Main thread only.
class AppStartupDelegate {
  public:
    AppStartupDelegate(ScanRequestTarget& treeController,
                       StartScanningInLaunchedAppManager& manager, std::string homeFolder);
    // On the process's manager and the user's home folder.
    explicit AppStartupDelegate(ScanRequestTarget& treeController);
    ~AppStartupDelegate();
    AppStartupDelegate(const AppStartupDelegate&) = delete;
    AppStartupDelegate& operator=(const AppStartupDelegate&) = delete;

    // Installs the two callbacks in the manager and announces this
    // application as ready (which serves any queued request).
    void tellOtherApplicationsThatAppStarted();

    // The start-scanning callback; the work runs later on the main queue.
    void startScanning(const QVariantMap& userInfo);
    // The segment callback: only "selectBiggest" (with or without the
    // "selectSegment:" prefix) does anything.
    void selectSegment(const QVariantMap& userInfo);

    // A folder opened with the application: scanned when it is an existing
    // directory. Always answers true (the request was handled).
    bool application(QCoreApplication* sender, const std::string& openFile);
    // Several folders: after a short pause, the non-empty ones are added and
    // the first scanned.
    void application(QCoreApplication* sender, const std::vector<std::string>& openFiles);

    // The pause before handed-over folders are served (0.3 seconds).
    void setOpenFilesDelay(std::chrono::milliseconds delay) { mOpenFilesDelay = delay; }

  private:
    bool isHomeFolder(const std::string& path) const;

    ScanRequestTarget& mTreeController;
    StartScanningInLaunchedAppManager& mManager;
    std::string mHomeFolder;
    std::chrono::milliseconds mOpenFilesDelay{300};
    // Work queued for later checks this, so nothing runs after destruction.
    std::shared_ptr<bool> mAlive = std::make_shared<bool>(true);
};

}  // namespace korvex
