#include "access/AccessQuestions.h"

#include "access/AccessChecker.h"
#include "access/DiskAccessRestoreManager.h"
#include "app/settings/Settings.h"

namespace korvex {

AccessQuestions::AccessQuestions(GrantAccessAlertManager& alerts, Actions actions)
    : mAlerts(alerts), mActions(std::move(actions)) {}

bool AccessQuestions::afterScan(FolderSystemItem& root) {
    std::string path = root.fullPath();
    auto openSettings = mActions.openFullDiskAccessSettings;
    if (root.accessDenied() && AccessChecker::shouldAskToGrantAccessForPath(path)) {
        mAlerts.show(GrantAccessTexts::grantAccessRequiredToScan(root.isVol(), path),
                     [openSettings](bool grant) {
                         if (grant && openSettings) {
                             openSettings();
                         }
                     });
        return true;
    }
    std::vector<std::string> folders = AccessChecker::inaccessibleFoldersIn(root);
    if (folders.empty() || Settings::suppressSomeFoldersNotScannedAlert()) {
        return false;
    }
    mAlerts.showWithSuppression(GrantAccessTexts::notScannedFolders(folders),
                                [openSettings](bool grant, bool suppress) {
                                    if (grant && openSettings) {
                                        openSettings();
                                    }
                                    Settings::setSuppressSomeFoldersNotScannedAlert(suppress);
                                });
    return true;
}

bool AccessQuestions::forFolder(const FileSystemItem* item) {
    if (item == nullptr) {
        return false;
    }
    std::string path = item->fullPath();
    // A row the scan could not read is worth the question wherever it is:
    // its permissions keep it closed, not a list of protected places.
    if (!item->accessDenied() && !AccessChecker::shouldAskToGrantAccessForPath(path)) {
        return false;
    }
    if (DiskAccessRestoreManager::sharedManager().isPathAccessible(path)) {
        Actions actions = mActions;
        mAlerts.show(GrantAccessTexts::rescanAdvice(), [actions](bool rescan) {
            if (rescan && actions.rescan && !(actions.isScanning && actions.isScanning())) {
                actions.rescan();
            }
        });
        return true;
    }
    auto openSettings = mActions.openFullDiskAccessSettings;
    mAlerts.show(GrantAccessTexts::notScannedFolders({path}), [openSettings](bool grant) {
        if (grant && openSettings) {
            openSettings();
        }
    });
    return true;
}

}  // namespace korvex
