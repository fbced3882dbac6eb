#pragma once

#include "cleanup/operations/OperationPerformer.h"
#include "cleanup/operations/ProgressTask.h"
#include "platform/dispatch/MainQueue.h"

#include <chrono>
#include <memory>
#include <mutex>

namespace korvex {

// What every performer shares: the destination, the progress tasks whose
// shares a one-second timer sums up for the listener, and the final report.
class BaseOperationPerformer : public OperationPerformer,
                               public std::enable_shared_from_this<BaseOperationPerformer> {
  public:
    explicit BaseOperationPerformer(std::optional<std::string> destinationFolder);
    ~BaseOperationPerformer() override;

    const std::optional<std::string>& destinationFolder() const override {
        return mDestinationFolder;
    }
    double totalProgress() const;

  protected:
    void begin(std::weak_ptr<OperationPerformerListener> listener,
               std::vector<std::shared_ptr<ProgressTask>> tasks);
    // Stops the timer and reports once; later calls do nothing.
    void reportCompletion(const OperationItems& items, const std::vector<std::string>& removedPaths,
                          const std::vector<std::string>& processedPaths);
    std::chrono::steady_clock::time_point date() const { return mDate; }

  private:
    void stopTimer();

    const std::optional<std::string> mDestinationFolder;
    std::weak_ptr<OperationPerformerListener> mListener;
    std::chrono::steady_clock::time_point mDate;
    mutable std::mutex mLock;
    platform::MainQueue::TimerId mTimer = 0;
    std::vector<std::shared_ptr<ProgressTask>> mProgressTasks;
    bool mReported = false;
};

// The sources of the items that succeeded, in order.
std::vector<std::string> succeededPaths(const OperationItems& items);

}  // namespace korvex
