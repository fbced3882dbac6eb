#pragma once

#include <QColor>

#include <cstdint>

namespace korvex {

// The diverging colours of a comparison of two scans: what shrank in blue,
// what grew in red, what did not change in a neutral grey, each the stronger
// the nearer its change comes to the biggest one in view.
class ChangeScale {
  public:
    // `dark` picks the neutral grey that stands out on a dark window.
    ChangeScale(std::int64_t biggestChange, bool dark);

    QColor colorFor(std::int64_t delta) const;
    QColor neutral() const { return mNeutral; }
    std::int64_t biggestChange() const { return mBiggest; }

  private:
    std::int64_t mBiggest;
    QColor mNeutral;
};

}  // namespace korvex
