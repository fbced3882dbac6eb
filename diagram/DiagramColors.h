#pragma once

#include <QColor>

#include <array>

namespace korvex {

// How a sector is coloured.
enum DiagramColorFlag {
    ColorNormal = 0,
    ColorHidden = 1,
    ColorCollected = 3,
    ColorUnscanned = 4,
    ColorOccupied = 5,
    ColorFree = 6,
    ColorTrash = 7,
    ColorPurgeable = 8,
    ColorSmallItems = 9,
};

// The diagram's fixed colours and the per-ring saturation and brightness tables.
class DiagramColors {
  public:
    // Process-wide: every diagram shares the fixed colours and ring tables.
    static DiagramColors& shared();

    QColor cTrashColor, cTrashColor2, cCollectedColor, cCollectedColor2, cOccupiedColor,
        cHiddenColor, cHiddenColor2, rootColor, rootLineColor, cFreeColor1, cFreeColor2,
        cLineFreeColor, cLineColor, cPurgeableColor;

    // Rebuilt from minimum and maximum; index 0 is the root colour's own value.
    void setSaturation(double min, double max);
    void setBrightness(double min, double max);
    double saturation(int ring) const { return S[static_cast<std::size_t>(clampRing(ring))]; }
    double brightness(int ring) const { return B[static_cast<std::size_t>(clampRing(ring))]; }

    // The hue of a sector from its middle: once around the wheel, from 0.7 at the top.
    static double hueFor(double start, double delta);
    // The fill of an ordinary or small-items sector on `ring`.
    QColor sectorFill(int flag, int ring, double start, double delta, double alpha) const;

  private:
    DiagramColors();
    static int clampRing(int ring) { return ring < 0 ? 0 : (ring > 13 ? 13 : ring); }

    std::array<double, 14> S{};
    std::array<double, 14> B{};
};

}  // namespace korvex
