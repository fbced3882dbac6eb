#pragma once

#include "platform/dispatch/OperationQueue.h"
#include "scan/tree/FolderSystemItem.h"

#include <atomic>
#include <functional>
#include <string>

namespace korvex {

// One name search below a folder. The folder is held strongly, so the tree
// outlives the run; the completion gets the hits on the main queue, an empty
// list when the run was cancelled.
class SearchItemsOperation : public platform::Operation {
  public:
    using Completion = std::function<void(ItemList)>;

    SearchItemsOperation(FolderRef folder, std::string query, Completion completion)
        : mFolder(std::move(folder)),
          mQuery(std::move(query)),
          mCompletion(std::move(completion)) {}

    // Set while the run is queued or running.
    bool isStarted() const { return mStarted.load(); }
    void markStarted() { mStarted = true; }
    void main() override;

  private:
    FolderRef mFolder;
    std::string mQuery;
    Completion mCompletion;
    std::atomic<bool> mStarted{false};
};

}  // namespace korvex
