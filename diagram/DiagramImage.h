#pragma once

#include "scan/tree/ItemRef.h"

#include <QImage>

namespace korvex {

// The sunburst of `root` drawn into a square image of `size` pixels, on the
// window background of the light appearance.
QImage renderDiagram(const ItemRef& root, int size);

}  // namespace korvex
