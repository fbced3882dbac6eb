#pragma once

#include <array>

namespace korvex {

// Radii of the rings as shares of the full radius: for a diagram of n rings,
// ring L lies between F(n, L-1) and F(n, L); F(n, 0) is the root disc. Rows 8
// to 13 are zero, which caps the ring count at 7.
struct RingRadii {
    static constexpr int kMaxRings = 13;
    static constexpr int kMaxDrawnRings = 7;  // the last row with radii
    static constexpr std::array<float, 14 * 14> kTable = [] {
        std::array<float, 14 * 14> t{};
        auto row = [&t](int n, std::initializer_list<float> values) {
            int i = 0;
            for (float v : values) {
                t[static_cast<std::size_t>(14 * n + i++)] = v;
            }
        };
        row(0, {0.5f});
        row(1, {0.5f, 1.0f});
        row(2, {0.5f, 0.8f, 1.0f});
        row(3, {0.5f, 0.7f, 0.87f, 1.0f});
        row(4, {0.4f, 0.6f, 0.76f, 0.89f, 1.0f});
        row(5, {0.4f, 0.55f, 0.68f, 0.8f, 0.91f, 1.0f});
        row(6, {0.35f, 0.5f, 0.62f, 0.73f, 0.83f, 0.92f, 1.0f});
        row(7, {0.35f, 0.49f, 0.6f, 0.7f, 0.79f, 0.87f, 0.94f, 1.0f});
        return t;
    }();

    static constexpr float F(int n, int level) {
        if (n < 0 || n > kMaxRings || level < 0 || level > kMaxRings) {
            return 0.0f;
        }
        return kTable[static_cast<std::size_t>(14 * n + level)];
    }
};

}  // namespace korvex
