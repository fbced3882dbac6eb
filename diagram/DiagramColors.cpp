#include "diagram/DiagramColors.h"

#include <cmath>

namespace korvex {

namespace {
QColor hsb(double hueDegrees, double s, double b) {
    return QColor::fromHsvF(hueDegrees / 360.0, s, b);
}
}  // namespace

DiagramColors& DiagramColors::shared() {
    static DiagramColors colors;
    return colors;
}

DiagramColors::DiagramColors()
    : cTrashColor(hsb(353, 0.22, 1.0)),
      cTrashColor2(hsb(353, 0.42, 1.0)),
      cCollectedColor(hsb(150, 0.30, 0.98)),
      cCollectedColor2(hsb(150, 0.50, 0.98)),
      cOccupiedColor(hsb(196, 0.66, 1.0)),
      cHiddenColor(hsb(210, 0.22, 1.0)),
      cHiddenColor2(hsb(210, 0.42, 1.0)),
      rootColor(QColor("#1176CC")),
      rootLineColor(QColor("#0B5A9E")),
      cFreeColor1(hsb(224, 0.40, 0.32)),
      cFreeColor2(hsb(226, 0.41, 0.27)),
      cLineFreeColor(hsb(223, 0.42, 0.75)),
      cLineColor(QColor(130, 135, 140)),
      cPurgeableColor(hsb(231, 0.33, 0.82)) {
    setSaturation(0.9, 1.0);
    setBrightness(1.0, 1.0);
}

void DiagramColors::setSaturation(double min, double max) {
    S[0] = rootColor.hsvSaturationF();
    for (int i = 1; i < 14; ++i) {
        S[static_cast<std::size_t>(i)] = min + (max - min) * (14 - i) / 13.0;
    }
}

void DiagramColors::setBrightness(double min, double max) {
    B[0] = rootColor.valueF();
    for (int i = 1; i < 14; ++i) {
        B[static_cast<std::size_t>(i)] = min + (max - min) * (i - 1) / 13.0;
    }
}

double DiagramColors::hueFor(double start, double delta) {
    double middle = start + delta / 2;
    double hue = middle < 0.3 ? middle + 0.7 : middle - 0.3;
    // While a scan outgrows its estimate the shares add up past one turn:
    // the hue goes on round the wheel rather than out of its range.
    return hue - std::floor(hue);
}

QColor DiagramColors::sectorFill(int flag, int ring, double start, double delta,
                                 double alpha) const {
    QColor color;
    switch (flag) {
        case ColorHidden:
            color = cHiddenColor;
            break;
        case ColorCollected:
            color = cCollectedColor;
            break;
        case ColorSmallItems:
            color =
                QColor::fromHsvF(hueFor(start, delta), 0.9 * saturation(ring), brightness(ring));
            break;
        case ColorPurgeable:
            color = cPurgeableColor;
            break;
        case ColorTrash:
            color = cTrashColor;
            break;
        case ColorUnscanned:
        case ColorOccupied:
            color = cOccupiedColor;
            break;
        default:
            color = QColor::fromHsvF(hueFor(start, delta), saturation(ring), brightness(ring));
    }
    color.setAlphaF(static_cast<float>(alpha));
    return color;
}

}  // namespace korvex
