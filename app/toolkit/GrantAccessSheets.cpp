#include "app/toolkit/GrantAccessSheets.h"

#include "access/GrantAccessTexts.h"
#include "app/toolkit/Alert.h"

namespace korvex {

namespace {

QString text(const std::string& utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

AlertText alertFor(const AccessSheetText& sheet, bool suppression) {
    AlertText alert{text(sheet.message), text(sheet.informative), {}, suppression};
    for (const std::string* button : {&sheet.firstButton, &sheet.secondButton}) {
        if (!button->empty()) {
            alert.buttons << text(*button);
        }
    }
    return alert;
}

}  // namespace

void GrantAccessSheets::show(const AccessSheetText& sheet, std::function<void(bool)> done) {
    showAlert(mWindow, alertFor(sheet, false),
              [done = std::move(done)](int button, bool) { done(button == 0); });
}

void GrantAccessSheets::showWithSuppression(const AccessSheetText& sheet,
                                            std::function<void(bool, bool)> done) {
    showAlert(mWindow, alertFor(sheet, true),
              [done = std::move(done)](int button, bool suppress) { done(button == 0, suppress); });
}

}  // namespace korvex
