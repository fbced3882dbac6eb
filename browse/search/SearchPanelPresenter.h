#pragma once

#include "browse/search/SearchBarPresenterImpl.h"
#include "browse/search/SearchResultsPresenter.h"

namespace korvex {

class SearchPanelDelegate {
  public:
    virtual ~SearchPanelDelegate() = default;
    // The panel became active with the first query, or idle when the field collapsed.
    virtual void searchPanelDidChangeActive(bool active) = 0;
    // Whether a search runs now.
    virtual void searchPanelDidChangeSearching(bool searching) = 0;
    // Whether the field holds text, told as soon as it changes.
    virtual void searchPanelDidChangeHasQuery(bool hasQuery) = 0;
    // Escape or Tab in the field: the keyboard focus leaves the panel.
    virtual void searchPanelResignFocus() = 0;
};

// Ties the search field, the folder to search in and the results together.
class SearchPanelPresenter : public SearchBarDelegate, public SearchResultsListener {
  public:
    SearchPanelPresenter(SearchBarPresenterImpl& bar, SearchResultsPresenter& results,
                         SearchPanelDelegate* delegate);
    ~SearchPanelPresenter() override;
    SearchPanelPresenter(const SearchPanelPresenter&) = delete;
    SearchPanelPresenter& operator=(const SearchPanelPresenter&) = delete;

    void setFolder(FolderRef folder);
    const FolderRef& folder() const { return mFolder; }
    void setQuery(std::string query);
    const std::string& query() const { return mQuery; }
    bool isActive() const { return mActive; }
    bool isSearching() const { return mSearching; }

    // The field collapses when it loses the focus while empty.
    void textFieldDidChangeExpansionStateTo(bool expanded);

    void searchBarViewControllerWithSearchStringChanged(const std::string& query) override;
    void searchBarViewControllerDidChangeStateWithHasSearchQuery(bool hasQuery) override;
    void selectNextFirstResponder() override;
    void searchBarViewControllerWithDo(SearchAction action) override;

    void searchDidStart() override { setSearching(true); }
    void searchDidFinish() override { setSearching(false); }

  private:
    void queryChanged(const std::string& previous);
    void setSearching(bool searching);

    SearchBarPresenterImpl& mBar;
    SearchResultsPresenter& mResults;
    SearchPanelDelegate* mDelegate;
    FolderRef mFolder;
    bool mActive = false;
    bool mSearching = false;
    std::string mQuery;
};

}  // namespace korvex
