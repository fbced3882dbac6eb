#pragma once

#include <chrono>

namespace korvex {

// Lets a diagram being scanned gain at most one ring per second, from one.
class AnimController {
  public:
    using Clock = std::chrono::steady_clock;

    void initAnimation() {
        mAllowance = 1;
        mLastStep = Clock::now();
    }
    void stopAnimation() {
        mAllowance = 0;
        mLastStep = {};
    }
    bool isRunning() const { return mAllowance != 0; }

    int checkNewLevels(int levels, Clock::time_point now = Clock::now()) {
        if (mAllowance == 0 || levels <= mAllowance) {
            return levels;
        }
        if (mAllowance > 12) {
            return 13;
        }
        if (now - mLastStep >= std::chrono::seconds(1)) {
            ++mAllowance;
            mLastStep = now;
        }
        return mAllowance;
    }

  private:
    Clock::time_point mLastStep{};
    int mAllowance = 0;
};

}  // namespace korvex
