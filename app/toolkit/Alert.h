#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QWidget;
class QMessageBox;

namespace korvex {

// An alert shown as a sheet of the window: modal to the window only, so the
// event loop keeps running while it waits. Buttons are given left to right
// in order of importance; the answer is the index of the button pressed.
struct AlertText {
    QString message;
    QString informative;
    QStringList buttons;
    // A "Do not show this message again" check box, its state handed over.
    bool suppression = false;
};

using AlertAnswer = std::function<void(int button, bool suppress)>;

QMessageBox* showAlert(QWidget* window, const AlertText& text, AlertAnswer answer);

}  // namespace korvex
