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

}  // namespace korvex
