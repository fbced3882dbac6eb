#pragma once

#include <QImage>
#include <QPointF>

#include <array>
#include <cstddef>
#include <vector>

class QPainter;

namespace korvex {

// The soft shadow the diagram casts a little below itself. Every ring rests
// on the one inside it, so the figure's outline is, in each direction, the
// farthest radius it reaches; the shadow is made from that outline rather
// than from drawn pixels, at a third of the resolution (it is blurred anyway), and
// kept until the outline changes. Repaints of an unchanged figure (the glow
// above it while a scan runs) then cost one blit instead of a blur of the
// whole view.
class DiagramShadow {
  public:
    // Stretches of the circle in an outline (see RingRaster::outline).
    static constexpr std::size_t kParts = 2048;

    struct Outline {
        std::vector<float> reach;  // kParts radii, clockwise from 12 o'clock
        double opacity = 1;
        bool operator==(const Outline&) const = default;
    };

    // Draws, in the painter's logical coordinates, the shadow of the figure
    // that `outlines` make together around `center`, the figure turned
    // clockwise by `turn` (a fraction of the circle).
    void draw(QPainter& painter, QPointF center, double turn, std::vector<Outline> outlines);

    // How many times the shadow was made anew.
    int builds() const { return mBuilds; }

  private:
    void build();

    QPointF mCenter;
    double mTurn = 0;
    double mRatio = 0;
    std::vector<Outline> mOutlines;
    double mHalfSide = 0;
    QImage mImage;                               // in device pixels
    std::array<std::vector<float>, 3> mScratch;  // mask, half blurred, blurred
    int mBuilds = 0;
};

}  // namespace korvex
