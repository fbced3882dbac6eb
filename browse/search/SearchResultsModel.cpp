#include "browse/search/SearchResultsModel.h"

namespace korvex {

SearchResultsModel::~SearchResultsModel() {
    mQueue.cancelAllOperations();
}

void SearchResultsModel::search(FolderRef folder, std::string query,
                                SearchItemsOperation::Completion completion) {
    if (mCurrent) {
        mCurrent->cancel();
        mCurrent.reset();
    }
    if (!folder || query.empty()) {
        completion({});
        return;
    }
    mCurrent = std::make_shared<SearchItemsOperation>(std::move(folder), std::move(query),
                                                      std::move(completion));
    mCurrent->markStarted();
    mQueue.addOperation(mCurrent);
}

}  // namespace korvex
