#pragma once

#include <QProxyStyle>

namespace korvex {

// Fusion, with check boxes drawn from the palette's strong colours: Fusion's
// own outline comes from the window colour and all but vanishes on a dark
// one. Checked boxes are filled with the highlight, unchecked ones have a
// border in the placeholder colour, in lists and dialogs alike.
class ContrastStyle : public QProxyStyle {
  public:
    ContrastStyle();

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;
};

}  // namespace korvex
