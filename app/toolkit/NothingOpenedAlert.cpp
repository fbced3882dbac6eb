#include "app/toolkit/NothingOpenedAlert.h"

#include "app/toolkit/Alert.h"
#include "platform/desktop/FileUris.h"

#include <QMessageBox>

namespace korvex {

namespace {

// Names may hold any bytes; invalid UTF-8 shows as replacement marks.
QString shown(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString nameOf(const std::string& path) {
    std::string trimmed = path;
    while (trimmed.size() > 1 && trimmed.back() == '/') {
        trimmed.pop_back();
    }
    const auto slash = trimmed.rfind('/');
    return shown(slash == std::string::npos || trimmed == "/" ? trimmed
                                                              : trimmed.substr(slash + 1));
}

}  // namespace

QMessageBox* showNothingOpenedAlert(QWidget* window, const std::vector<std::string>& paths) {
    AlertText text;
    text.message = paths.size() == 1 ? QObject::tr("Cannot show \"%1\"").arg(nameOf(paths.front()))
                                     : QObject::tr("Cannot show the %1 items").arg(paths.size());
    text.informative = QObject::tr(
                           "No file manager answered, and no application could open the folder "
                           "\"%1\".\nInstall a file manager, or choose a default application for "
                           "folders in the desktop's settings.")
                           .arg(shown(platform::parentFolderOf(paths.front())));
    text.buttons = {QObject::tr("OK")};
    return showAlert(window, text, {});
}

}  // namespace korvex
