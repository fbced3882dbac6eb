#include "diagram/DiagramShadow.h"

#include "diagram/CircleTurn.h"

#include <QColor>
#include <QPaintDevice>
#include <QPainter>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <utility>

namespace korvex {

namespace {

// Logical pixels per pixel of the mask the shadow is blurred in.
constexpr float kMaskScale = 3;
// Two passes of a three-pixel box blur in one: a near Gaussian of 3.5
// logical pixels, the spread a blur radius of 14.5 gives.
constexpr std::array<float, 5> kBlur{1 / 9.f, 2 / 9.f, 3 / 9.f, 2 / 9.f, 1 / 9.f};
constexpr int kBlurReach = 2;
// How far past the outline the shadow reaches before it has faded out.
constexpr double kSpread = 14;
constexpr QPointF kOffset(0, 2.42);  // below the figure: screen y grows downwards
constexpr float kShadowAlpha = 72;   // of black

// Blurs the side × side mask along rows into `rows`, then along columns
// into `out`.
void blur(const std::vector<float>& mask, int side, std::vector<float>& rows,
          std::vector<float>& out) {
    const auto n = static_cast<std::size_t>(side);
    rows.resize(n * n);
    std::vector<float> padded(n + 2 * kBlurReach, 0.0f);
    for (std::size_t y = 0; y < n; ++y) {
        std::copy_n(mask.begin() + static_cast<std::ptrdiff_t>(y * n), n,
                    padded.begin() + kBlurReach);
        float* row = rows.data() + y * n;
        for (std::size_t x = 0; x < n; ++x) {
            float sum = 0;
            for (std::size_t k = 0; k < kBlur.size(); ++k) {
                sum += kBlur[k] * padded[x + k];
            }
            row[x] = sum;
        }
    }
    out.assign(n * n, 0.0f);
    for (std::size_t y = 0; y < n; ++y) {
        float* row = out.data() + y * n;
        for (std::size_t k = 0; k < kBlur.size(); ++k) {
            const auto from = static_cast<std::ptrdiff_t>(y + k) - kBlurReach;
            if (from < 0 || from >= side) {
                continue;
            }
            const float* source = rows.data() + static_cast<std::size_t>(from) * n;
            for (std::size_t x = 0; x < n; ++x) {
                row[x] += kBlur[k] * source[x];
            }
        }
    }
}

// Where each of `count` device pixels samples a line of `side` mask pixels,
// `perMask` device pixels to one: the lower neighbour and the weight of the
// upper one.
struct Samples {
    std::vector<std::int32_t> lower;
    std::vector<float> weight;
};
Samples samples(int count, int side, double perMask) {
    Samples at{std::vector<std::int32_t>(static_cast<std::size_t>(count)),
               std::vector<float>(static_cast<std::size_t>(count))};
    for (int i = 0; i < count; ++i) {
        const double u = std::clamp((i + 0.5) / perMask - 0.5, 0.0, side - 1.0);
        const int lower = std::max(0, std::min(static_cast<int>(u), side - 2));
        at.lower[static_cast<std::size_t>(i)] = lower;
        at.weight[static_cast<std::size_t>(i)] = static_cast<float>(u - lower);
    }
    return at;
}

// One row of device pixels from a row of mask values (with one to spare at
// the end): shadow-coloured, each between its two nearest values.
__attribute__((target_clones("avx2", "default"))) void shadowRow(const float* values,
                                                                 const std::int32_t* lower,
                                                                 const float* weight, int from,
                                                                 int to, QRgb* row) {
    for (int x = from; x < to; ++x) {
        const float a = values[lower[x]];
        const float b = values[lower[x] + 1];
        row[x] = static_cast<QRgb>((a + weight[x] * (b - a)) * kShadowAlpha + 0.5f) << 24;
    }
}

}  // namespace

void DiagramShadow::draw(QPainter& painter, QPointF center, double turn,
                         std::vector<Outline> outlines) {
    const double ratio = painter.device()->devicePixelRatioF();
    if (center != mCenter || turn != mTurn || ratio != mRatio || outlines != mOutlines) {
        mCenter = center;
        mTurn = turn;
        mRatio = ratio;
        mOutlines = std::move(outlines);
        build();
    }
    if (!mImage.isNull()) {
        painter.drawImage(mCenter - QPointF(mHalfSide, mHalfSide) + kOffset, mImage);
    }
}

void DiagramShadow::build() {
    ++mBuilds;
    // Nearest and farthest reach of each outline: a pixel nearer than the one
    // or farther than the other needs no look at its direction.
    std::vector<std::pair<float, float>> spans;
    float outer = 0;
    for (const Outline& outline : mOutlines) {
        if (outline.opacity > 0 && outline.reach.size() == kParts) {
            const auto [least, most] =
                std::minmax_element(outline.reach.begin(), outline.reach.end());
            spans.emplace_back(*least, *most);
            outer = std::max(outer, *most);
        } else {
            spans.emplace_back(0.0f, 0.0f);
        }
    }
    if (outer <= 0) {
        mImage = QImage();
        return;
    }
    mHalfSide = outer + kSpread;
    const int side = static_cast<int>(std::ceil(2 * mHalfSide / kMaskScale));
    const auto half = static_cast<float>(mHalfSide);
    const auto parts = static_cast<float>(kParts);
    // Kept between builds: the next one is most often of the same size.
    std::vector<float>& mask = mScratch[0];
    mask.assign(static_cast<std::size_t>(side) * static_cast<std::size_t>(side), 0.0f);
    for (int y = 0; y < side; ++y) {
        const float fy = (static_cast<float>(y) + 0.5f) * kMaskScale - half;
        for (int x = 0; x < side; ++x) {
            const float fx = (static_cast<float>(x) + 0.5f) * kMaskScale - half;
            const float d = std::sqrt(fx * fx + fy * fy);
            float value = 0;
            std::size_t part = kParts;  // the direction, once needed
            for (std::size_t i = 0; i < mOutlines.size(); ++i) {
                const auto opacity = static_cast<float>(mOutlines[i].opacity);
                const auto [least, most] = spans[i];
                if (d >= most + kMaskScale) {
                    continue;
                }
                if (d <= least - kMaskScale) {
                    value = std::max(value, opacity);
                    continue;
                }
                if (part == kParts) {
                    float turn = turnOf(fx, fy) - static_cast<float>(mTurn);
                    turn -= std::floor(turn);
                    part = std::min(static_cast<std::size_t>(turn * parts), kParts - 1);
                }
                const float inside =
                    std::clamp((mOutlines[i].reach[part] - d) / kMaskScale + 0.5f, 0.0f, 1.0f);
                value = std::max(value, inside * opacity);
            }
            mask[static_cast<std::size_t>(y) * static_cast<std::size_t>(side) +
                 static_cast<std::size_t>(x)] = value;
        }
    }
    std::vector<float>& blurred = mScratch[2];
    blur(mask, side, mScratch[1], blurred);

    // Device pixels from the mask, each between its four nearest. Those
    // outside the circle the square holds stay clear.
    const int deviceSide = static_cast<int>(std::lround(2 * mHalfSide * mRatio));
    if (mImage.width() != deviceSide || mImage.height() != deviceSide) {
        mImage = QImage(deviceSide, deviceSide, QImage::Format_ARGB32_Premultiplied);
        mImage.fill(Qt::transparent);
    }
    const Samples at = samples(deviceSide, side, mRatio * kMaskScale);
    const auto n = static_cast<std::size_t>(side);
    std::vector<float> line(n + 1, 0.0f);
    const double radius = deviceSide / 2.0;
    for (int y = 0; y < deviceSide; ++y) {
        const auto lower = static_cast<std::size_t>(at.lower[static_cast<std::size_t>(y)]);
        const float weight = at.weight[static_cast<std::size_t>(y)];
        const float* above = blurred.data() + lower * n;
        const float* below = above + (side > 1 ? n : 0);
        for (std::size_t x = 0; x < n; ++x) {
            line[x] = above[x] + weight * (below[x] - above[x]);
        }
        const double dy = y + 0.5 - radius;
        const double chord = std::sqrt(std::max(0.0, radius * radius - dy * dy));
        const int from = std::clamp(static_cast<int>(radius - chord) - 1, 0, deviceSide);
        const int to = std::clamp(static_cast<int>(radius + chord) + 1, from, deviceSide);
        shadowRow(line.data(), at.lower.data(), at.weight.data(), from, to,
                  reinterpret_cast<QRgb*>(mImage.scanLine(y)));
    }
    mImage.setDevicePixelRatio(mRatio);
}

}  // namespace korvex
