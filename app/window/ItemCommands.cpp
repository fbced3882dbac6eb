#include "app/window/ItemCommands.h"

#include "app/toolkit/NothingOpenedAlert.h"
#include "browse/preview/PreviewController.h"
#include "platform/desktop/FileManagerService.h"
#include "scan/tree/FileSystemItem.h"

#include <QMessageBox>
#include <QPointer>

namespace korvex {

ItemCommands::ItemCommands(QWidget* window, AlertShown alertShown)
    : mWindow(window), mAlertShown(std::move(alertShown)) {}

std::vector<std::string> ItemCommands::pathsOf(const ItemList& nodes) {
    std::vector<std::string> paths;
    for (const ItemRef& node : nodes) {
        if (node != nullptr && !node->isSpecial()) {
            paths.push_back(node->getFullPath());
        }
    }
    return paths;
}

void ItemCommands::reveal(const std::vector<std::string>& paths) {
    platform::FileManagerService::shared().revealItems(paths, nothingOpenedHandler(paths));
}

void ItemCommands::showProperties(const std::vector<std::string>& paths) {
    platform::FileManagerService::shared().showItemProperties(paths, nothingOpenedHandler(paths));
}

void ItemCommands::preview(const std::vector<std::string>& paths) {
    if (paths.empty()) {
        return;
    }
    auto& preview = PreviewController::sharedPreviewController();
    preview.setMainWindow(mWindow);
    preview.setPreviewItems(paths);
    preview.showPreviewPanel();
}

std::function<void()> ItemCommands::nothingOpenedHandler(const std::vector<std::string>& paths) {
    // Told later, when the window may be gone.
    return [window = QPointer<QWidget>(mWindow), alertShown = mAlertShown, paths] {
        if (window == nullptr || paths.empty()) {
            return;
        }
        QWidget* alert = showNothingOpenedAlert(window, paths);
        if (alertShown) {
            alertShown(alert);
        }
    };
}

}  // namespace korvex
