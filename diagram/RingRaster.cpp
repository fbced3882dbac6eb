#include "diagram/RingRaster.h"

#include "diagram/CircleTurn.h"
#include "diagram/DevicePixels.h"

#include <QPaintDevice>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <thread>

namespace korvex {

namespace {

constexpr float kPi = 3.14159265f;
constexpr float kTurn = 2 * kPi;
// Below this many pixels a second thread costs more than it saves.
constexpr qsizetype kPixelsPerThread = 40'000;

// Distance to the centre and turn of the pixels [x0, x1) of the row at `fy`,
// both measured from the pixel centres, and how far along the circle `margin`
// pixels reach at that distance; all three are indexed from x0. Built for
// wider vector units too: the loader picks what the processor has.
__attribute__((target_clones("avx2", "default"))) void measureRow(float cx, float fy, int x0,
                                                                  int x1, float margin, float* d,
                                                                  float* turn, float* reach) {
    const int n = x1 - x0;
    for (int k = 0; k < n; ++k) {
        const float fx = static_cast<float>(x0 + k) + 0.5f - cx;
        d[k] = std::sqrt(fx * fx + fy * fy);
        turn[k] = turnOf(fx, fy);
        reach[k] = margin / (kTurn * d[k]);
    }
}

// How much of [lo, hi] lies in the pixel-wide window centred on c.
float covered(float c, float lo, float hi) {
    return std::max(0.0f, std::min(c + 0.5f, hi) - std::max(c - 0.5f, lo));
}

template <class Sectors>
int lastStartingBefore(const Sectors& sectors, float turn) {
    auto after = std::partition_point(sectors.begin(), sectors.end(),
                                      [turn](const auto& s) { return s.start <= turn; });
    return static_cast<int>(after - sectors.begin()) - 1;
}

// The last sector starting at or before `turn` (-1 for none), looked for
// next to the one the previous pixel found first: neighbours mostly share it.
template <class Sectors>
int locate(const Sectors& sectors, float turn, int hint) {
    const int n = static_cast<int>(sectors.size());
    auto startsBefore = [&](int i) {
        return i < n && sectors[static_cast<std::size_t>(i)].start <= turn;
    };
    if (hint >= 0 && startsBefore(hint)) {
        if (!startsBefore(hint + 1)) {
            return hint;
        }
        if (!startsBefore(hint + 2)) {
            return hint + 1;
        }
    } else if (hint >= 1 && startsBefore(hint - 1)) {
        return hint - 1;
    }
    return lastStartingBefore(sectors, turn);
}

struct Shade {
    float r = 0, g = 0, b = 0, a = 0;

    void add(QRgb color, float weight) {
        r += weight * static_cast<float>(qRed(color));
        g += weight * static_cast<float>(qGreen(color));
        b += weight * static_cast<float>(qBlue(color));
        a += weight * static_cast<float>(qAlpha(color));
    }
    // `line` over this shade with coverage `cover`, as source-over would lay it.
    QRgb withLine(QRgb line, float cover) const {
        const float keep = 1 - cover * static_cast<float>(qAlpha(line)) / 255;
        auto channel = [&](float own, int lineValue) {
            return std::clamp(
                static_cast<int>(std::lround(own * keep + cover * static_cast<float>(lineValue))),
                0, 255);
        };
        const int alpha = channel(a, qAlpha(line));
        return qRgba(std::min(channel(r, qRed(line)), alpha),
                     std::min(channel(g, qGreen(line)), alpha),
                     std::min(channel(b, qBlue(line)), alpha), alpha);
    }
};

// How much of a pixel's coverage across the ring goes to the sector fill, and
// how much of it the arc hairlines through the pixel take.
struct Across {
    float fill;
    float arcLines;
};

// Adds what the sectors around `at` give a pixel centred there: each sector's
// fill by the share of the pixel-wide window along the arc it covers, and the
// hairlines at its edges. `first` is the last sector starting at or before
// `at` (-1 for none); fractions are turned into pixels by `perTurn`.
template <class Sectors>
void addAlong(const Sectors& sectors, int first, float at, float perTurn, float halfLine,
              Across across, Shade& shade, float& line) {
    const float reach = (0.5f + halfLine) / perTurn;
    const float lo = at - reach;
    const float hi = at + reach;
    const float u = at * perTurn;
    auto i = static_cast<std::size_t>(std::max(first, 0));
    while (i > 0 && sectors[i - 1].end > lo) {
        --i;
    }
    for (; i < sectors.size() && sectors[i].start < hi; ++i) {
        const auto& s = sectors[i];
        const float from = s.start * perTurn;
        const float to = s.end * perTurn;
        const float along = covered(u, from, to);
        const float edges = (s.lineAtStart ? covered(u, from - halfLine, from + halfLine) : 0) +
                            (s.lineAtEnd ? covered(u, to - halfLine, to + halfLine) : 0);
        shade.add(s.fill, across.fill * along);
        line += across.fill * edges + across.arcLines * along;
    }
}

}  // namespace

void RingRaster::begin(QPointF center, const std::vector<double>& radii, QColor line,
                       double lineWidth) {
    mCenter = center;
    mRadii.assign(radii.begin(),
                  radii.begin() + std::min<std::ptrdiff_t>(
                                      static_cast<std::ptrdiff_t>(radii.size()), kMaxRings + 1));
    mLine = qPremultiply(line.rgba());
    mLineWidth = lineWidth;
    for (auto& ring : mRings) {
        ring.clear();
    }
}

void RingRaster::addSector(int ring, double start, double delta, QColor fill) {
    if (ring < 1 || ring >= static_cast<int>(mRadii.size()) || !(delta > 0)) {
        return;
    }
    auto& sectors = mRings[static_cast<std::size_t>(ring)];
    // Sums of shares may overshoot the previous end by a rounding step.
    auto from = static_cast<float>(start);
    if (!sectors.empty()) {
        from = std::max(from, sectors.back().end);
    }
    const auto to = static_cast<float>(start + delta);
    if (!(to > from)) {
        return;
    }
    sectors.push_back({from, to, qPremultiply(fill.rgba()), true, true});
}

// Shared edges get one hairline, drawn by the sector that starts there. A
// last sector that goes on past 12 o'clock is cut there, and what lies past
// the top goes first in the ring, so every sector lies within one turn.
void RingRaster::closeRings() {
    for (auto& sectors : mRings) {
        if (!sectors.empty() && sectors.back().end > 1) {
            Sector head = sectors.back();
            head.start = std::max(0.0f, head.start - 1);
            head.end = std::min(head.end - 1, sectors.front().start);
            head.lineAtStart = sectors.back().start >= 1;
            if (sectors.back().start < 1) {
                sectors.back().end = 1;
            } else {
                sectors.pop_back();
            }
            if (head.end > head.start) {
                sectors.push_back(head);
                std::rotate(sectors.begin(), sectors.end() - 1, sectors.end());
            }
        }
        for (std::size_t i = 0; i + 1 < sectors.size(); ++i) {
            sectors[i].lineAtEnd = sectors[i + 1].start > sectors[i].end;
        }
        if (sectors.size() > 1 && sectors.front().start <= 0 && sectors.back().end >= 1) {
            sectors.back().lineAtEnd = false;
        }
    }
}

std::vector<float> RingRaster::outline(std::size_t parts) const {
    std::vector<float> reach(parts, 0.0f);
    const auto count = static_cast<double>(parts);
    // Rings go outwards, so a later ring's radius replaces an earlier one's.
    for (std::size_t ring = 1; ring < mRadii.size(); ++ring) {
        const auto radius = static_cast<float>(mRadii[ring]);
        for (const Sector& sector : mRings[ring]) {
            // A sector may run on past 12 o'clock until the rings are closed.
            const auto first = static_cast<std::int64_t>(std::floor(sector.start * count));
            const auto last = static_cast<std::int64_t>(std::ceil(sector.end * count));
            for (std::int64_t part = first; part < std::max(last, first + 1); ++part) {
                reach[static_cast<std::size_t>(part % static_cast<std::int64_t>(parts))] = radius;
            }
        }
    }
    return reach;
}

void RingRaster::draw(QPainter& painter, const QRectF& dirty) {
    const int rings = static_cast<int>(mRadii.size()) - 1;
    if (rings < 1 || std::all_of(mRings.begin(), mRings.end(),
                                 [](const auto& sectors) { return sectors.empty(); })) {
        return;
    }
    closeRings();
    // Rendered in device pixels when the painter only moves and scales; a
    // rotated painter gets the picture at its own resolution, transformed.
    const QTransform device = painter.deviceTransform();
    const bool exact = mapsToDevicePixels(device);
    const QTransform toLayer = exact ? device : QTransform();
    const double outer = mRadii.back() + mLineWidth + 1;
    const QRectF bounds(mCenter.x() - outer, mCenter.y() - outer, 2 * outer, 2 * outer);
    if (toLayer.mapRect(bounds.intersected(dirty)).toAlignedRect().isEmpty()) {
        return;
    }
    const bool same = !mLayer.isNull() && mLayerInputs.toLayer == toLayer &&
                      mLayerInputs.center == mCenter && mLayerInputs.radii == mRadii &&
                      mLayerInputs.line == mLine && mLayerInputs.lineWidth == mLineWidth &&
                      mLayerInputs.rings == mRings;
    if (!same) {
        render(toLayer.mapRect(bounds).toAlignedRect(), toLayer, rings);
        mLayerInputs = {mRings, mRadii, mCenter, mLine, mLineWidth, toLayer};
    }
    // The layer holds the whole figure; only what lies in `dirty` is drawn.
    painter.save();
    painter.setClipRect(dirty, Qt::IntersectClip);
    if (exact) {
        drawDeviceImage(painter, device, mLayerOrigin, mLayer);
    } else {
        mLayer.setDevicePixelRatio(1);
        painter.drawImage(mLayerOrigin, mLayer);
    }
    painter.restore();
}

void RingRaster::render(const QRect& area, const QTransform& toLayer, int rings) {
    ++mRenders;
    const double scale = toLayer.m11();
    mLayerOrigin = area.topLeft();
    Frame frame;
    const QPointF center = toLayer.map(mCenter) - QPointF(area.topLeft());
    frame.cx = static_cast<float>(center.x());
    frame.cy = static_cast<float>(center.y());
    frame.rings = rings;
    for (int i = 0; i <= rings; ++i) {
        frame.radius[static_cast<std::size_t>(i)] =
            static_cast<float>(mRadii[static_cast<std::size_t>(i)] * scale);
    }
    frame.halfLine = static_cast<float>(mLineWidth * scale / 2);

    if (mLayer.size() != area.size()) {
        mLayer = QImage(area.size(), QImage::Format_ARGB32_Premultiplied);
    }
    mLayer.fill(Qt::transparent);
    frame.bits = mLayer.bits();
    frame.stride = mLayer.bytesPerLine();
    const int height = area.height();
    if (static_cast<qsizetype>(area.width()) * height >= 2 * kPixelsPerThread) {
        std::thread lower([&] { renderRows(frame, height / 2, height); });
        renderRows(frame, 0, height / 2);
        lower.join();
    } else {
        renderRows(frame, 0, height);
    }
}

void RingRaster::renderRows(const Frame& frame, int from, int to) const {
    const float margin = 0.5f + frame.halfLine;
    const float outside = frame.radius[static_cast<std::size_t>(frame.rings)] + margin + 1;
    const float inside = frame.radius[0] - margin - 1;
    const int width = mLayer.width();
    std::array<int, kMaxRings + 1> hints;
    hints.fill(-1);
    const auto columns = static_cast<std::size_t>(width);
    Row scratch{std::vector<float>(columns), std::vector<float>(columns),
                std::vector<float>(columns)};
    for (int y = from; y < to; ++y) {
        const float fy = static_cast<float>(y) + 0.5f - frame.cy;
        if (std::abs(fy) >= outside) {
            continue;
        }
        const float half = std::sqrt(outside * outside - fy * fy);
        const int x0 = std::max(0, static_cast<int>(std::floor(frame.cx - half)));
        const int x1 = std::min(width, static_cast<int>(std::ceil(frame.cx + half)));
        auto* row = reinterpret_cast<QRgb*>(frame.bits + y * frame.stride);
        if (inside > 0 && std::abs(fy) < inside) {
            // The root disc covers the middle of the row.
            const float hole = std::sqrt(inside * inside - fy * fy);
            const int h0 = std::clamp(static_cast<int>(std::floor(frame.cx - hole)), x0, x1);
            const int h1 = std::clamp(static_cast<int>(std::ceil(frame.cx + hole)), h0, x1);
            renderSpan(frame, row, fy, x0, h0, scratch, hints);
            renderSpan(frame, row, fy, h1, x1, scratch, hints);
        } else {
            renderSpan(frame, row, fy, x0, x1, scratch, hints);
        }
    }
}

void RingRaster::renderSpan(const Frame& frame, QRgb* row, float fy, int x0, int x1, Row& scratch,
                            std::array<int, kMaxRings + 1>& hints) const {
    const float margin = 0.5f + frame.halfLine;
    const auto radius = [&frame](int i) { return frame.radius[static_cast<std::size_t>(i)]; };
    measureRow(frame.cx, fy, x0, x1, margin, scratch.d.data(), scratch.turn.data(),
               scratch.reach.data());
    int ring = 0;
    for (int x = x0; x < x1; ++x) {
        const float d = scratch.d[static_cast<std::size_t>(x - x0)];
        // radius(ring - 1) <= d < radius(ring), with ring 0 inside the first
        // radius and rings + 1 outside the last.
        while (ring <= frame.rings && d >= radius(ring)) {
            ++ring;
        }
        while (ring > 0 && d < radius(ring - 1)) {
            --ring;
        }
        if ((ring == 0 && d + margin < radius(0)) ||
            (ring > frame.rings && d - margin > radius(frame.rings))) {
            continue;
        }
        const float turn = scratch.turn[static_cast<std::size_t>(x - x0)];
        const bool withinRing = ring >= 1 && ring <= frame.rings && d - margin > radius(ring - 1) &&
                                d + margin < radius(ring);
        if (withinRing) {
            const auto& sectors = mRings[static_cast<std::size_t>(ring)];
            const int i = locate(sectors, turn, hints[static_cast<std::size_t>(ring)]);
            hints[static_cast<std::size_t>(ring)] = i;
            const int n = static_cast<int>(sectors.size());
            // The stretch of the ring the pixel lies in: its sector, or the
            // gap between two sectors (or the whole ring when it has none).
            const bool inSector = i >= 0 && turn < sectors[static_cast<std::size_t>(i)].end;
            float lo = 0;
            float hi = 0;
            if (inSector) {
                lo = sectors[static_cast<std::size_t>(i)].start;
                hi = sectors[static_cast<std::size_t>(i)].end;
            } else {
                lo = i >= 0 ? sectors[static_cast<std::size_t>(i)].end
                            : (n > 0 ? sectors.back().end - 1 : -1.0f);
                hi = i + 1 < n ? sectors[static_cast<std::size_t>(i + 1)].start
                               : (n > 0 ? sectors.front().start + 1 : 2.0f);
            }
            // Neighbours along the row mostly lie in the same stretch, well
            // away from its edges: they are filled, or left, as one run.
            const float inner = radius(ring - 1);
            const float outer = radius(ring);
            int end = x;
            while (end < x1) {
                const auto k = static_cast<std::size_t>(end - x0);
                const float dk = scratch.d[k];
                const float tk = scratch.turn[k];
                const float rk = scratch.reach[k];
                if (!(dk - margin > inner && dk + margin < outer && lo + rk < tk && tk + rk < hi)) {
                    break;
                }
                ++end;
            }
            if (end > x) {
                if (inSector) {
                    std::fill(row + x, row + end, sectors[static_cast<std::size_t>(i)].fill);
                }
                x = end - 1;
                continue;
            }
            const float reach = scratch.reach[static_cast<std::size_t>(x - x0)];
            // Most edge pixels lie on a sector edge well inside one ring and
            // away from 12 o'clock: only that ring's sectors along the arc
            // reach them.
            if (turn > reach && turn + reach < 1) {
                Shade shade;
                float line = 0;
                addAlong(sectors, i, turn, kTurn * d, frame.halfLine, {1, 0}, shade, line);
                row[x] = shade.withLine(mLine, std::min(line, 1.0f));
                continue;
            }
        }
        row[x] = blend(frame, d, turn, ring, hints);
    }
}

// A pixel on an edge: each sector of the rings it touches adds its colour by
// the share of the pixel it covers, then the hairlines go over them.
QRgb RingRaster::blend(const Frame& frame, float d, float turn, int ring,
                       std::array<int, kMaxRings + 1>& hints) const {
    const float hl = frame.halfLine;
    const float perTurn = kTurn * d;  // pixels along the arc for a whole turn
    const float reach = (0.5f + hl) / perTurn;
    Shade shade;
    float line = 0;
    for (int j = std::max(1, ring - 1); j <= std::min(frame.rings, ring + 1); ++j) {
        const float inner = frame.radius[static_cast<std::size_t>(j - 1)];
        const float outer = frame.radius[static_cast<std::size_t>(j)];
        const float across = covered(d, inner, outer);
        // Rings nest, so a ring's inner arc is its parent's outer one; only
        // the first ring draws its inner arc itself.
        const float arcLines =
            covered(d, outer - hl, outer + hl) + (j == 1 ? covered(d, inner - hl, inner + hl) : 0);
        const auto& sectors = mRings[static_cast<std::size_t>(j)];
        if ((across <= 0 && arcLines <= 0) || sectors.empty()) {
            continue;
        }
        const int found = locate(sectors, turn, hints[static_cast<std::size_t>(j)]);
        hints[static_cast<std::size_t>(j)] = found;
        // Near 12 o'clock the pixel also reaches the sectors across the top.
        for (const float shift : {-1.0f, 0.0f, 1.0f}) {
            const float lo = turn + shift - reach;
            const float hi = turn + shift + reach;
            if (hi <= 0 || lo >= 1) {
                continue;
            }
            const int from = shift == 0 ? found : lastStartingBefore(sectors, lo);
            addAlong(sectors, from, turn + shift, perTurn, hl, {across, arcLines}, shade, line);
        }
    }
    return shade.withLine(mLine, std::min(line, 1.0f));
}

}  // namespace korvex
