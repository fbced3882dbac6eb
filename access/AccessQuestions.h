#pragma once

#include "access/GrantAccessAlertManager.h"
#include "scan/tree/FolderSystemItem.h"

#include <functional>

namespace korvex {

// Decides, after a scan or for a folder row, whether to ask the user about
// access and which question to ask. Main thread only.
class AccessQuestions {
  public:
    struct Actions {
        // Leads the user to where access is granted.
        std::function<void()> openFullDiskAccessSettings;
        // Starts a new scan of the selected target.
        std::function<void()> rescan;
        std::function<bool()> isScanning;
    };

    AccessQuestions(GrantAccessAlertManager& alerts, Actions actions);

    // `showSomeFoldersWereNotScannedAlertForItem:` with no item: after a scan of `root`.
    bool afterScan(FolderSystemItem& root);
    // The same for a folder row; answers whether something was shown.
    bool forFolder(const FileSystemItem* item);

  private:
    GrantAccessAlertManager& mAlerts;
    Actions mActions;
};

}  // namespace korvex
