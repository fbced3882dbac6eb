#include "cleanup/operations/BaseOperationPerformer.h"

namespace korvex {

BaseOperationPerformer::BaseOperationPerformer(std::optional<std::string> destinationFolder)
    : mDestinationFolder(std::move(destinationFolder)) {}

BaseOperationPerformer::~BaseOperationPerformer() {
    stopTimer();
}

void BaseOperationPerformer::begin(std::weak_ptr<OperationPerformerListener> listener,
                                   std::vector<std::shared_ptr<ProgressTask>> tasks) {
    std::weak_ptr<BaseOperationPerformer> weak = weak_from_this();
    std::lock_guard guard(mLock);
    mListener = std::move(listener);
    mProgressTasks = std::move(tasks);
    mDate = std::chrono::steady_clock::now();
    mTimer = platform::MainQueue::shared().scheduleRepeating(std::chrono::seconds(1), [weak] {
        auto self = weak.lock();
        if (!self)
            return;
        const double progress = self->totalProgress();
        std::shared_ptr<OperationPerformerListener> told;
        {
            std::lock_guard inner(self->mLock);
            told = self->mListener.lock();
        }
        if (told)
            told->operationPerformerProgress(progress);
    });
}

double BaseOperationPerformer::totalProgress() const {
    std::lock_guard guard(mLock);
    double total = 0;
    for (const auto& task : mProgressTasks)
        total += task->progress();
    return total;
}

void BaseOperationPerformer::reportCompletion(const OperationItems& items,
                                              const std::vector<std::string>& removedPaths,
                                              const std::vector<std::string>& processedPaths) {
    std::shared_ptr<OperationPerformerListener> listener;
    {
        std::lock_guard guard(mLock);
        if (mReported)
            return;
        mReported = true;
        listener = mListener.lock();
    }
    stopTimer();
    if (listener)
        listener->operationPerformerDidComplete(items, removedPaths, processedPaths);
}

void BaseOperationPerformer::stopTimer() {
    platform::MainQueue::TimerId timer = 0;
    {
        std::lock_guard guard(mLock);
        std::swap(timer, mTimer);
    }
    if (timer)
        platform::MainQueue::shared().cancelTimer(timer);
}

std::vector<std::string> succeededPaths(const OperationItems& items) {
    std::vector<std::string> paths;
    for (const auto& item : items)
        if (isSuccess(item->state()))
            paths.push_back(item->path());
    return paths;
}

}  // namespace korvex
