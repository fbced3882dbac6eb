#pragma once

#include <QColor>
#include <QPalette>

namespace korvex {

// The colours of the target list and the overview, derived from the widget
// palette so that light and dark themes both read well.
struct SidebarPalette {
    explicit SidebarPalette(const QPalette& palette);

    // `a` over `b` at share `t` of `a`.
    static QColor blend(const QColor& a, const QColor& b, double t);

    QColor background;
    QColor text;
    QColor muted;
    QColor hover;
    QColor accent;
    QColor selection;
    QColor selectionText;
    QColor inactiveSelection;
    QColor track;
};

}  // namespace korvex
