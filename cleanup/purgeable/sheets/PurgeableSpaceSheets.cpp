#include "cleanup/purgeable/sheets/PurgeableSpaceSheets.h"

#include "app/toolkit/Alert.h"

namespace korvex {

void PurgeableSpaceSheets::showPurgeableSpaceAlert(const PurgeableAlertText& text) {
    if (mWindow == nullptr) {
        return;
    }
    showAlert(mWindow,
              {QString::fromStdString(text.message),
               QString::fromStdString(text.informative),
               {QObject::tr("OK")},
               false},
              nullptr);
}

void PurgeableSpaceSheets::askToFreeUpPurgeableSpace(
    const PurgeableConfirmationText& text,
    std::function<void(bool confirmed, bool suppress)> answer) {
    if (mWindow == nullptr) {
        answer(false, false);
        return;
    }
    showAlert(
        mWindow,
        {QString::fromStdString(text.message),
         QString::fromStdString(text.informative),
         {QString::fromStdString(text.confirmButton), QString::fromStdString(text.cancelButton)},
         true},
        [answer = std::move(answer)](int button, bool suppress) { answer(button == 0, suppress); });
}

}  // namespace korvex
