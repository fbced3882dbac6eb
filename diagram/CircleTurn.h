#pragma once

#include <algorithm>
#include <cmath>

namespace korvex {

// The direction of (x, y) as a fraction of the circle clockwise from 12
// o'clock, screen y pointing down. The polynomial is within 1e-5 radians of
// the arctangent, far below a pixel at any radius the diagram has. Selects
// instead of branches let a loop over a row run it on several lanes at once.
inline float turnOf(float x, float y) {
    constexpr float kPi = 3.14159265f;
    const float ax = std::abs(x);
    const float ay = std::abs(y);
    const float big = std::max(ax, ay);
    const float t = std::min(ax, ay) / (big == 0 ? 1.0f : big);
    const float t2 = t * t;
    const float poly =
        t *
        (0.999866f + t2 * (-0.3302995f + t2 * (0.180141f + t2 * (-0.085133f + t2 * 0.0208351f))));
    const float folded = ax > ay ? kPi / 2 - poly : poly;
    const float angle = y > 0 ? kPi - folded : folded;
    const float turn = (x < 0 ? -angle : angle) / (2 * kPi);
    return turn < 0 ? turn + 1 : turn;
}

}  // namespace korvex
