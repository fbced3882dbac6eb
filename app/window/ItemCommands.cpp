#include "app/window/ItemCommands.h"

#include "app/toolkit/Alert.h"
#include "browse/lists/ItemTexts.h"
#include "browse/preview/PreviewController.h"
#include "platform/desktop/FileManagerService.h"
#include "platform/desktop/FileUris.h"
#include "scan/tree/FileSystemItem.h"

#include <QMessageBox>

namespace korvex {

namespace {

QString nameOf(const std::string& path) {
    std::string trimmed = path;
    while (trimmed.size() > 1 && trimmed.back() == '/') {
        trimmed.pop_back();
    }
    const auto slash = trimmed.rfind('/');
    return qtText(slash == std::string::npos || trimmed == "/" ? trimmed
                                                               : trimmed.substr(slash + 1));
}

void tellNothingOpened(QWidget* window, const ItemCommands::AlertShown& alertShown,
                       const std::vector<std::string>& paths) {
    if (window == nullptr || paths.empty()) {
        return;
    }
    AlertText text;
    text.message = paths.size() == 1 ? QObject::tr("Cannot show \"%1\"").arg(nameOf(paths.front()))
                                     : QObject::tr("Cannot show the %1 items").arg(paths.size());
    text.informative = QObject::tr(
                           "No file manager answered, and no application could open the folder "
                           "\"%1\".\nInstall a file manager, or choose a default application for "
                           "folders in the desktop's settings.")
                           .arg(qtText(platform::parentFolderOf(paths.front())));
    text.buttons = {QObject::tr("OK")};
    QMessageBox* alert = showAlert(window, text, {});
    if (alertShown) {
        alertShown(alert);
    }
}

}  // namespace

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
    return [window = mWindow, alertShown = mAlertShown, paths] {
        tellNothingOpened(window, alertShown, paths);
    };
}

}  // namespace korvex
