#include "browse/search/SearchResultsPresenter.h"

namespace korvex {

void SearchResultsPresenter::search(FolderRef root, std::string query,
                                    SearchResultsListener* listener, bool force) {
    mListener = listener;
    if (!force && root == mRoot && query == mSearchString) {
        return;
    }
    mRoot = std::move(root);
    mSearchString = std::move(query);
    if (mListener != nullptr) {
        mListener->searchDidStart();
    }
    // A replaced search still completes, with nothing; only the newest is shown.
    const std::uint64_t generation = ++mGeneration;
    std::weak_ptr<SearchResultsPresenter*> alive = mAlive;
    mModel.search(mRoot, mSearchString, [alive, generation](ItemList hits) {
        auto presenter = alive.lock();
        if (presenter && (*presenter)->mGeneration == generation) {
            (*presenter)->finish(std::move(hits));
        }
    });
}

void SearchResultsPresenter::finish(ItemList hits) {
    if (mListener != nullptr) {
        mListener->searchDidFinish();
    }
    if (!mView.isInWindow()) {
        hits.clear();
    }
    mView.showSearchResults(FileSystemArray(std::move(hits), mRoot));
}

}  // namespace korvex
