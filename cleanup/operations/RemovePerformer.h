#pragma once

#include "cleanup/operations/BaseOperationPerformer.h"
#include "cleanup/operations/FileOperations.h"
#include "cleanup/operations/RefusedRemovalRetrier.h"

#include <atomic>
#include <memory>
#include <mutex>

namespace korvex {

// Moves the items to the trash, several at a time; an item already gone
// counts as removed. What the trash refused goes to the retrier, when there
// is one, before the operation reports.
class RemovePerformer : public BaseOperationPerformer {
  public:
    RemovePerformer(std::optional<std::string> trashFolder, FileOperations files,
                    std::shared_ptr<RefusedRemovalRetrier> retrier);

    void perform(const OperationItems& items,
                 std::weak_ptr<OperationPerformerListener> listener) override;

    static constexpr unsigned kConcurrentRemovals = 4;

  private:
    void removeItem(const OperationItemRef& item);
    void workerLoop();
    void finalBlock();
    void finish();
    void addRemovedPath(const std::string& path);

    const FileOperations mFiles;
    const std::shared_ptr<RefusedRemovalRetrier> mRetrier;
    OperationItems mItems;
    std::vector<std::string> removedPaths;
    OperationItems failed;
    std::mutex sync;
    std::shared_ptr<OperationCountProgressTask> generalProgressTask;
    std::atomic<std::size_t> mNextItem{0};
    std::atomic<unsigned> mRunningWorkers{0};
};

}  // namespace korvex
