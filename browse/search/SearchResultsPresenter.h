#pragma once

#include "browse/contents/FileSystemArray.h"
#include "browse/search/SearchResultsModel.h"

#include <cstdint>
#include <memory>
#include <string>

namespace korvex {

class SearchResultsListener {
  public:
    virtual ~SearchResultsListener() = default;
    virtual void searchDidStart() = 0;
    virtual void searchDidFinish() = 0;
};

// The two-column list showing the hits.
class SearchResultsView {
  public:
    virtual ~SearchResultsView() = default;
    // Results that arrive while the list is off screen are dropped.
    virtual bool isInWindow() const = 0;
    virtual void showSearchResults(const FileSystemArray& results) = 0;
};

// Searches a folder for a query unless that search was the last one, and
// hands the hits to its list.
class SearchResultsPresenter {
  public:
    explicit SearchResultsPresenter(SearchResultsView& view) : mView(view) {}

    // The listener is not owned and must outlive the presenter or be replaced.
    void search(FolderRef root, std::string query, SearchResultsListener* listener, bool force);
    // Searches `root` again for the last query, e.g. after the tree changed.
    void research(FolderRef root) { search(std::move(root), mSearchString, mListener, true); }

    const FolderRef& root() const { return mRoot; }
    const std::string& searchString() const { return mSearchString; }

  private:
    void finish(ItemList hits);

    SearchResultsView& mView;
    SearchResultsListener* mListener = nullptr;
    SearchResultsModel mModel;
    FolderRef mRoot;
    std::string mSearchString;
    std::uint64_t mGeneration = 0;
    // Completions that arrive after the presenter is gone find this expired.
    std::shared_ptr<SearchResultsPresenter*> mAlive =
        std::make_shared<SearchResultsPresenter*>(this);
};

}  // namespace korvex
