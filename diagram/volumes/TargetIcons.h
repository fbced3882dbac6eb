#pragma once

#include "diagram/volumes/TargetKind.h"

#include <QIcon>

namespace korvex {

// The icon of a kind of target from the desktop's icon theme, falling back to
// the widget style's own drive and folder icons.
QIcon iconForTargetKind(TargetKind kind);

// Without a desktop session (offscreen, minimal sessions) Qt may know no icon
// theme and look only in its resources: adds the system icon folders of the
// XDG data directories and names a theme present there. Call once at start-up.
void useSystemIconThemeWhenUnset();

}  // namespace korvex
