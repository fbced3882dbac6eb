#include "diagram/DiagramShadow.h"

#include "diagram/CircleTurn.h"

#include <QColor>
#include <QPaintDevice>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <utility>

namespace korvex {

namespace {

// Logical pixels per pixel of the mask the shadow is blurred in.
constexpr float kMaskScale = 2;
// Passes of a three-pixel box blur along each axis: four make a near
// Gaussian of 3.3 logical pixels, the spread a blur radius of 14.5 gives.
constexpr int kBoxPasses = 4;
// How far past the outline the shadow reaches before it has faded out.
constexpr double kSpread = 14;
constexpr QPointF kOffset(0, 2.42);  // below the figure: screen y grows downwards
constexpr int kShadowAlpha = 72;     // of black

void boxBlurRows(std::vector<float>& mask, int side, int stride, int step) {
    std::vector<float> line(static_cast<std::size_t>(side));
    for (int row = 0; row < side; ++row) {
        float* first = mask.data() + static_cast<std::ptrdiff_t>(row) * stride;
        auto at = [&](int i) -> float& { return first[static_cast<std::ptrdiff_t>(i) * step]; };
        for (int pass = 0; pass < kBoxPasses; ++pass) {
            for (int i = 0; i < side; ++i) {
                const float before = i > 0 ? at(i - 1) : 0;
                const float after = i + 1 < side ? at(i + 1) : 0;
                line[static_cast<std::size_t>(i)] = (before + at(i) + after) / 3;
            }
            for (int i = 0; i < side; ++i) {
                at(i) = line[static_cast<std::size_t>(i)];
            }
        }
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
    std::vector<float> mask(static_cast<std::size_t>(side) * static_cast<std::size_t>(side), 0.0f);
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
    boxBlurRows(mask, side, side, 1);
    boxBlurRows(mask, side, 1, side);

    QImage small(side, side, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < side; ++y) {
        auto* row = reinterpret_cast<QRgb*>(small.scanLine(y));
        for (int x = 0; x < side; ++x) {
            const float value = mask[static_cast<std::size_t>(y) * static_cast<std::size_t>(side) +
                                     static_cast<std::size_t>(x)];
            row[x] = qRgba(0, 0, 0, static_cast<int>(value * kShadowAlpha + 0.5f));
        }
    }
    const int deviceSide = static_cast<int>(std::lround(2 * mHalfSide * mRatio));
    mImage = small.scaled(deviceSide, deviceSide, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    mImage.setDevicePixelRatio(mRatio);
}

}  // namespace korvex
