#include "app/toolkit/Alert.h"

#include <QCheckBox>
#include <QMessageBox>
#include <QPushButton>

#include <vector>

namespace korvex {

QMessageBox* showAlert(QWidget* window, const AlertText& text, AlertAnswer answer) {
    auto* box = new QMessageBox(window);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setIcon(QMessageBox::Warning);
    box->setText(text.message);
    box->setInformativeText(text.informative);
    box->setWindowModality(window != nullptr ? Qt::WindowModal : Qt::ApplicationModal);
    std::vector<QPushButton*> buttons;
    for (int i = 0; i < text.buttons.size(); ++i) {
        // The first button is the default action; later ones step back.
        auto role = i == 0 ? QMessageBox::AcceptRole : QMessageBox::RejectRole;
        buttons.push_back(box->addButton(text.buttons[i], role));
    }
    if (!buttons.empty()) {
        box->setDefaultButton(buttons.front());
        box->setEscapeButton(buttons.back());
    }
    if (text.suppression) {
        box->setCheckBox(new QCheckBox(QObject::tr("Do not show this message again"), box));
    }
    QObject::connect(box, &QMessageBox::finished, box,
                     [box, buttons, answer = std::move(answer)](int) {
                         int index = -1;
                         for (std::size_t i = 0; i < buttons.size(); ++i) {
                             if (box->clickedButton() == buttons[i]) {
                                 index = static_cast<int>(i);
                             }
                         }
                         if (index < 0) {
                             index = static_cast<int>(buttons.size()) - 1;  // closed: the last
                         }
                         bool suppress = box->checkBox() != nullptr && box->checkBox()->isChecked();
                         if (answer) {
                             answer(index, suppress);
                         }
                     });
    box->open();
    return box;
}

}  // namespace korvex
