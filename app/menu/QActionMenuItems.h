#pragma once

#include "app/menu/MainMenuController.h"
#include "app/menu/MainMenuItem.h"

#include <QList>

class QAction;

namespace korvex {

// Main-menu items as Qt actions: the action's objectName is the item's
// identifier, its text the title, and the kind of an item without an
// identifier is kept as a property of the action.
namespace QActionMenuItems {

void setKind(QAction& action, MainMenuItem::Kind kind);
MainMenuItem describe(const QAction& action);

// Enables (and retitles) the action as the controller says.
void validate(const MainMenuController& controller, QAction& action);
void validate(const MainMenuController& controller, const QList<QAction*>& actions);

// Choosing the action routes it through the controller. The controller must
// outlive the action.
void connect(MainMenuController& controller, QAction& action);

}  // namespace QActionMenuItems
}  // namespace korvex
