#include "platform/dispatch/OperationQueue.h"

namespace korvex::platform {

OperationQueue::~OperationQueue() {
    {
        std::lock_guard guard(mMutex);
        mStopping = true;
        for (auto& operation : mQueued) {
            operation->cancel();
        }
    }
    mChanged.notify_all();
    if (mThread.joinable()) {
        mThread.join();
    }
}

void OperationQueue::addOperation(std::shared_ptr<Operation> operation) {
    {
        std::lock_guard guard(mMutex);
        mQueued.push_back(std::move(operation));
        if (!mThread.joinable()) {
            mThread = std::thread([this] { run(); });
        }
    }
    mChanged.notify_all();
}

void OperationQueue::cancelAllOperations() {
    std::lock_guard guard(mMutex);
    for (auto& operation : mQueued) {
        operation->cancel();
    }
    if (mRunning != nullptr) {
        mRunning->cancel();
    }
}

std::size_t OperationQueue::operationCount() const {
    std::lock_guard guard(mMutex);
    return mQueued.size() + (mRunning != nullptr ? 1 : 0);
}

void OperationQueue::waitUntilAllOperationsAreFinished() {
    std::unique_lock guard(mMutex);
    mChanged.wait(guard, [this] { return mQueued.empty() && mRunning == nullptr; });
}

void OperationQueue::run() {
    std::unique_lock guard(mMutex);
    while (true) {
        mChanged.wait(guard, [this] { return mStopping || !mQueued.empty(); });
        if (mQueued.empty()) {
            return;
        }
        mRunning = std::move(mQueued.front());
        mQueued.pop_front();
        std::shared_ptr<Operation> operation = mRunning;
        guard.unlock();
        operation->main();
        operation->mFinished = true;
        guard.lock();
        mRunning.reset();
        mChanged.notify_all();
    }
}

}  // namespace korvex::platform
