#include "diagram/ChangeScale.h"

#include <algorithm>
#include <cmath>

namespace korvex {

namespace {

const QColor kGrowth(0xd7, 0x30, 0x1f);
const QColor kShrinkage(0x21, 0x66, 0xac);
// Even the smallest change must not pass for none.
constexpr double kWeakest = 0.3;

QColor mix(const QColor& from, const QColor& to, double share) {
    auto channel = [share](int a, int b) {
        return static_cast<int>(std::lround(a + (b - a) * share));
    };
    return QColor(channel(from.red(), to.red()), channel(from.green(), to.green()),
                  channel(from.blue(), to.blue()));
}

}  // namespace

ChangeScale::ChangeScale(std::int64_t biggestChange, bool dark)
    : mBiggest(std::max<std::int64_t>(biggestChange, 1)),
      mNeutral(dark ? QColor(0x55, 0x55, 0x55) : QColor(0xd9, 0xd9, 0xd9)) {}

QColor ChangeScale::colorFor(std::int64_t delta) const {
    if (delta == 0) {
        return mNeutral;
    }
    const double magnitude = static_cast<double>(delta < 0 ? -delta : delta);
    // The square root keeps the many small changes visible beside a big one.
    const double share = std::sqrt(std::min(1.0, magnitude / static_cast<double>(mBiggest)));
    return mix(mNeutral, delta > 0 ? kGrowth : kShrinkage, kWeakest + (1 - kWeakest) * share);
}

}  // namespace korvex
