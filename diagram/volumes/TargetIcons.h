#pragma once

#include "diagram/volumes/TargetKind.h"

#include <QIcon>

namespace korvex {

// The icon of a kind of target from the desktop's icon theme, falling back to
// the widget style's own drive and folder icons.
QIcon iconForTargetKind(TargetKind kind);

}  // namespace korvex
