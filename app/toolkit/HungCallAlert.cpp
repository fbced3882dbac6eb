#include "app/toolkit/HungCallAlert.h"

#include "app/toolkit/Alert.h"
#include "app/toolkit/RestartService.h"

#include <QObject>

namespace korvex {

QMessageBox* showHungCallAlert(QWidget* window, RestartService& restartService) {
    AlertText text;
    text.message = QObject::tr("The disk does not respond");
    text.informative = QObject::tr(
        "A folder being scanned has stopped answering, so the scan cannot be "
        "stopped now. This happens when a network share or a removable disk "
        "is disconnected.\nRelaunch Korvex to recover; the scan starts again.");
    text.buttons = {QObject::tr("Relaunch"), QObject::tr("Wait")};
    return showAlert(window, text, [&restartService](int button, bool) {
        if (button == 0) {
            restartService.restart();
        } else {
            restartService.decline();
        }
    });
}

}  // namespace korvex
