#pragma once

#include <QKeyEvent>

namespace korvex::platform {

// The desktop's keys for going up one folder: Backspace, as in file
// managers, and Alt+Up.
inline bool isGoUpKey(const QKeyEvent& event) {
    return event.key() == Qt::Key_Backspace ||
           (event.key() == Qt::Key_Up && event.modifiers().testFlag(Qt::AltModifier));
}

}  // namespace korvex::platform
