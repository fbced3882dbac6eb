#pragma once

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

}  // namespace korvex
