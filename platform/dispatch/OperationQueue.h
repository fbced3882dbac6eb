#pragma once

#include <atomic>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

namespace korvex::platform {

// A unit of background work run by an OperationQueue. main() runs even for an
// operation cancelled while it waited, so that it can report its own end.
class Operation : public std::enable_shared_from_this<Operation> {
  public:
    virtual ~Operation() = default;
    virtual void main() = 0;
    void cancel() { mCancelled = true; }
    bool isCancelled() const { return mCancelled.load(); }
    bool isFinished() const { return mFinished.load(); }

  private:
    friend class OperationQueue;
    std::atomic<bool> mCancelled{false};
    std::atomic<bool> mFinished{false};
};

// Runs operations one at a time, in order, on its own thread.
class OperationQueue {
  public:
    OperationQueue() = default;
    ~OperationQueue();
    OperationQueue(const OperationQueue&) = delete;
    OperationQueue& operator=(const OperationQueue&) = delete;

    void addOperation(std::shared_ptr<Operation> operation);
    // Marks every queued and running operation cancelled.
    void cancelAllOperations();
    // Queued plus running.
    std::size_t operationCount() const;
    void waitUntilAllOperationsAreFinished();

  private:
    void run();

    mutable std::mutex mMutex;
    std::condition_variable mChanged;
    std::deque<std::shared_ptr<Operation>> mQueued;
    std::shared_ptr<Operation> mRunning;
    bool mStopping = false;
    std::thread mThread;
};

}  // namespace korvex::platform
