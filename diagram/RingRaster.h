#pragma once

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QTransform>

#include <array>
#include <vector>

class QPainter;

namespace korvex {

// Draws the sectors of the diagram's rings in one pass over the pixels. An
// antialiased path fill has a fixed cost far above its few pixels, and a big
// tree has thousands of narrow sectors; here each pixel finds its ring from
// its distance to the centre and its sector from its angle, so the cost
// follows the area. Edges are antialiased by the share of the pixel that each
// sector and each hairline takes along the arc and along the radius, so
// neighbouring sectors meet without a seam of background between them.
class RingRaster {
  public:
    static constexpr int kMaxRings = 13;

    // Starts a picture around `center`: ring L lies between radii[L - 1] and
    // radii[L]. Every sector is outlined by a hairline of `lineWidth`.
    void begin(QPointF center, const std::vector<double>& radii, QColor line, double lineWidth);
    // A sector of `ring` (from 1) from `start` over `delta`, fractions of the
    // circle clockwise from 12 o'clock. A ring's sectors come clockwise and
    // do not overlap; an empty or undefined share is left out.
    void addSector(int ring, double start, double delta, QColor fill);
    // How far out the sectors reach in each of `parts` equal stretches of the
    // circle, clockwise from 12 o'clock: the outer radius of the farthest
    // ring with a sector in the stretch, 0 where no ring has one. A sector
    // narrower than a stretch counts for all of it.
    std::vector<float> outline(std::size_t parts) const;
    // Composes the sectors over the painter's picture, in the pixels of its
    // device; only what lies in `dirty` is drawn. The whole figure is
    // rendered once and kept: painting it again unchanged only draws the
    // kept layer.
    void draw(QPainter& painter, const QRectF& dirty);
    // How many times the figure was rendered anew.
    int renders() const { return mRenders; }

  private:
    struct Sector {
        float start;
        float end;
        QRgb fill;  // premultiplied
        // False only for the rest of a sector past 12 o'clock: it goes on
        // from the piece before the top, and no edge lies between them.
        bool lineAtStart;
        // No neighbour starts where this one ends: the end gets its own line.
        bool lineAtEnd;
        bool operator==(const Sector&) const = default;
    };
    // What the layer was rendered from: a paint of the same figure (the
    // glow above it, a pointer's outline) only draws the layer again.
    struct LayerInputs {
        std::array<std::vector<Sector>, kMaxRings + 1> rings;
        std::vector<double> radii;
        QPointF center;
        QRgb line = 0;
        double lineWidth = 0;
        QTransform toLayer;
        bool operator==(const LayerInputs&) const = default;
    };
    // Ring radii, centre and hairline in layer pixels.
    struct Frame {
        float cx = 0;
        float cy = 0;
        std::array<float, kMaxRings + 1> radius{};
        int rings = 0;
        float halfLine = 0;
        uchar* bits = nullptr;  // the layer's, taken once: threads share no detach
        qsizetype stride = 0;
    };

    // Distances, turns and the turn a pixel's edge margin spans, of one
    // row's pixels, worked out before the row is coloured; one per
    // rendering thread.
    struct Row {
        std::vector<float> d;
        std::vector<float> turn;
        std::vector<float> reach;
    };

    void closeRings();
    // Renders the sectors into the layer, which then covers `area`.
    void render(const QRect& area, const QTransform& toLayer, int rings);
    void renderRows(const Frame& frame, int from, int to) const;
    void renderSpan(const Frame& frame, QRgb* row, float fy, int x0, int x1, Row& scratch,
                    std::array<int, kMaxRings + 1>& hints) const;
    QRgb blend(const Frame& frame, float d, float turn, int ring,
               std::array<int, kMaxRings + 1>& hints) const;

    QPointF mCenter;
    std::vector<double> mRadii;
    QRgb mLine = 0;  // premultiplied
    double mLineWidth = 0;
    std::array<std::vector<Sector>, kMaxRings + 1> mRings;
    QImage mLayer;  // the whole figure as last rendered
    LayerInputs mLayerInputs;
    QPoint mLayerOrigin;  // where the layer lies, in layer pixels
    int mRenders = 0;
};

}  // namespace korvex
