#include "cleanup/operations/ProgressTask.h"

#include <algorithm>

namespace korvex {

OperationCountProgressTask::OperationCountProgressTask(long totalCount, double part,
                                                       std::function<void()> completion)
    : mTotalCount(totalCount), mPartOfTotalProgress(part), mCompletion(std::move(completion)) {}

void OperationCountProgressTask::increment(long by) {
    std::function<void()> completion;
    {
        std::lock_guard guard(sync);
        mCompleted += by;
        if (mCompleted == mTotalCount)
            completion = mCompletion;
    }
    if (completion)
        completion();
}

double OperationCountProgressTask::progress() const {
    std::lock_guard guard(sync);
    if (mTotalCount <= 0)
        return mPartOfTotalProgress;
    const double done = std::min(1.0, static_cast<double>(mCompleted) / mTotalCount);
    return done * mPartOfTotalProgress;
}

long OperationCountProgressTask::completed() const {
    std::lock_guard guard(sync);
    return mCompleted;
}

OperationTimerProgressTask::OperationTimerProgressTask(Clock::duration duration, double part,
                                                       std::function<void()> completion)
    : mDuration(duration), mPartOfTotalProgress(part), mCompletion(std::move(completion)) {}

void OperationTimerProgressTask::start() {
    std::lock_guard guard(sync);
    mState = State::inProgress;
    mStartTime = Clock::now();
}

void OperationTimerProgressTask::finish() {
    std::function<void()> completion;
    {
        std::lock_guard guard(sync);
        if (mState == State::finished)
            return;
        mState = State::finished;
        completion = mCompletion;
    }
    if (completion)
        completion();
}

double OperationTimerProgressTask::progress() const {
    std::lock_guard guard(sync);
    switch (mState) {
        case State::none:
            return 0.0;
        case State::finished:
            return mPartOfTotalProgress;
        case State::inProgress:
            break;
    }
    if (mDuration <= Clock::duration::zero())
        return mPartOfTotalProgress;
    const double elapsed = std::chrono::duration<double>(Clock::now() - mStartTime).count() /
                           std::chrono::duration<double>(mDuration).count();
    // Work that runs past its expected length stays just short of done.
    return std::min(elapsed, 0.99) * mPartOfTotalProgress;
}

OperationTimerProgressTask::State OperationTimerProgressTask::state() const {
    std::lock_guard guard(sync);
    return mState;
}

}  // namespace korvex
