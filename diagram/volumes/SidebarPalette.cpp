#include "diagram/volumes/SidebarPalette.h"

namespace korvex {

SidebarPalette::SidebarPalette(const QPalette& palette)
    : background(palette.color(QPalette::Window)),
      text(palette.color(QPalette::WindowText)),
      muted(blend(text, background, 0.55)),
      hover(blend(text, background, 0.07)),
      accent(palette.color(QPalette::Highlight)),
      selection(accent),
      selectionText(palette.color(QPalette::HighlightedText)),
      inactiveSelection(blend(accent, background, 0.22)),
      track(blend(text, background, 0.14)) {}

QColor SidebarPalette::blend(const QColor& a, const QColor& b, double t) {
    auto mix = [t](double x, double y) { return x * t + y * (1.0 - t); };
    return QColor::fromRgbF(static_cast<float>(mix(a.redF(), b.redF())),
                            static_cast<float>(mix(a.greenF(), b.greenF())),
                            static_cast<float>(mix(a.blueF(), b.blueF())));
}

}  // namespace korvex
