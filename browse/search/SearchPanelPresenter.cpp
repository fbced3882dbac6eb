#include "browse/search/SearchPanelPresenter.h"

namespace korvex {

SearchPanelPresenter::SearchPanelPresenter(SearchBarPresenterImpl& bar,
                                           SearchResultsPresenter& results,
                                           SearchPanelDelegate* delegate)
    : mBar(bar), mResults(results), mDelegate(delegate) {
    mBar.setSearchBarDelegate(this);
}

SearchPanelPresenter::~SearchPanelPresenter() {
    mBar.setSearchBarDelegate(nullptr);
}

void SearchPanelPresenter::setFolder(FolderRef folder) {
    mFolder = std::move(folder);
    mResults.search(mFolder, mQuery, this, false);
}

void SearchPanelPresenter::setQuery(std::string query) {
    std::string previous = std::exchange(mQuery, std::move(query));
    queryChanged(previous);
}

void SearchPanelPresenter::queryChanged(const std::string& previous) {
    if (mQuery == previous) {
        return;
    }
    if (previous.empty() && !mQuery.empty() && !mActive) {
        mActive = true;
        if (mDelegate != nullptr) {
            mDelegate->searchPanelDidChangeActive(true);
        }
    }
    mResults.search(mFolder, mQuery, this, false);
}

void SearchPanelPresenter::textFieldDidChangeExpansionStateTo(bool expanded) {
    if (expanded || !mActive) {
        return;
    }
    mActive = false;
    if (mDelegate != nullptr) {
        mDelegate->searchPanelDidChangeActive(false);
    }
}

void SearchPanelPresenter::searchBarViewControllerWithSearchStringChanged(
    const std::string& query) {
    setQuery(query);
}

void SearchPanelPresenter::searchBarViewControllerDidChangeStateWithHasSearchQuery(bool hasQuery) {
    if (mDelegate != nullptr) {
        mDelegate->searchPanelDidChangeHasQuery(hasQuery);
    }
}

void SearchPanelPresenter::selectNextFirstResponder() {
    if (mDelegate != nullptr) {
        mDelegate->searchPanelResignFocus();
    }
}

void SearchPanelPresenter::searchBarViewControllerWithDo(SearchAction action) {
    if (action == SearchAction::cancel) {
        textFieldDidChangeExpansionStateTo(false);
    }
}

void SearchPanelPresenter::setSearching(bool searching) {
    if (searching == mSearching) {
        return;
    }
    mSearching = searching;
    if (mDelegate != nullptr) {
        mDelegate->searchPanelDidChangeSearching(searching);
    }
}

}  // namespace korvex
