#pragma once

#include "browse/search/SearchItemsOperation.h"

#include <memory>

namespace korvex {

// Runs one name search at a time; a newer search cancels the one before.
// The searches share one serial queue: a cancelled run stops at its next
// level, so the newer one waits at most one level and the caller not at all.
class SearchResultsModel {
  public:
    SearchResultsModel() = default;
    ~SearchResultsModel();
    SearchResultsModel(const SearchResultsModel&) = delete;
    SearchResultsModel& operator=(const SearchResultsModel&) = delete;

    // Without a folder or with an empty query the completion runs at once,
    // on the calling thread, with nothing; otherwise on the main queue.
    void search(FolderRef folder, std::string query, SearchItemsOperation::Completion completion);

  private:
    std::shared_ptr<SearchItemsOperation> mCurrent;
    platform::OperationQueue mQueue;
};

}  // namespace korvex
