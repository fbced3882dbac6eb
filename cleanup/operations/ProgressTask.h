#pragma once

#include <chrono>
#include <functional>
#include <mutex>

namespace korvex {

// A share of an operation's progress; the shares of one operation add up to 1.
class ProgressTask {
  public:
    virtual ~ProgressTask() = default;
    virtual double progress() const = 0;
};

// Progress by items done out of a known count.
class OperationCountProgressTask : public ProgressTask {
  public:
    OperationCountProgressTask(long totalCount, double partOfTotalProgress,
                               std::function<void()> completion = {});
    // Calls the completion when the count is reached.
    void increment(long by = 1);
    double progress() const override;
    long completed() const;

  private:
    long mCompleted = 0;
    const long mTotalCount;
    const double mPartOfTotalProgress;
    std::function<void()> mCompletion;
    mutable std::recursive_mutex sync;
};

// Progress by time spent, for work whose length cannot be counted: it grows
// with the time since start() over the expected duration, and never passes
// its share before finish().
class OperationTimerProgressTask : public ProgressTask {
  public:
    using Clock = std::chrono::steady_clock;
    enum class State { none, inProgress, finished };

    OperationTimerProgressTask(Clock::duration duration, double partOfTotalProgress,
                               std::function<void()> completion = {});
    void start();
    void finish();
    double progress() const override;
    State state() const;

  private:
    const Clock::duration mDuration;
    const double mPartOfTotalProgress;
    std::function<void()> mCompletion;
    State mState = State::none;
    Clock::time_point mStartTime;
    mutable std::recursive_mutex sync;
};

}  // namespace korvex
