#include "app/menu/QActionMenuItems.h"

#include <QAction>
#include <QVariant>

namespace korvex::QActionMenuItems {
namespace {

constexpr const char* kKindProperty = "korvexMenuItemKind";

}  // namespace

void setKind(QAction& action, MainMenuItem::Kind kind) {
    action.setProperty(kKindProperty, static_cast<int>(kind));
}

MainMenuItem describe(const QAction& action) {
    MainMenuItem item;
    item.identifier = action.objectName().toStdString();
    item.title = action.text().toStdString();
    const QVariant kind = action.property(kKindProperty);
    if (kind.isValid()) {
        item.kind = static_cast<MainMenuItem::Kind>(kind.toInt());
    }
    return item;
}

void validate(const MainMenuController& controller, QAction& action) {
    MainMenuItem item = describe(action);
    const std::string before = item.title;
    action.setEnabled(controller.validateMenuItem(item));
    if (item.title != before) {
        action.setText(QString::fromStdString(item.title));
    }
}

void validate(const MainMenuController& controller, const QList<QAction*>& actions) {
    for (QAction* action : actions) {
        if (action != nullptr && !action->isSeparator()) {
            validate(controller, *action);
        }
    }
}

void connect(MainMenuController& controller, QAction& action) {
    QObject::connect(&action, &QAction::triggered, &action,
                     [&controller, &action] { controller.doMainMenuItemAction(describe(action)); });
}

}  // namespace korvex::QActionMenuItems
