#pragma once

#include "platform/dispatch/MainQueue.h"

#include <optional>
#include <string>

namespace korvex {

// The keys of the search field that leave it.
enum class SearchAction { cancel, tab };

class SearchBarDelegate {
  public:
    virtual ~SearchBarDelegate() = default;
    // Sent half a second after the last change of the text (at once on a clear).
    virtual void searchBarViewControllerWithSearchStringChanged(const std::string& query) = 0;
    // Sent on the next main-queue turn after every change.
    virtual void searchBarViewControllerDidChangeStateWithHasSearchQuery(bool hasQuery) = 0;
    virtual void selectNextFirstResponder() = 0;
    virtual void searchBarViewControllerWithDo(SearchAction action) = 0;
};

// The text field's view side: the presenter clears it on Escape.
class SearchBarView {
  public:
    virtual ~SearchBarView() = default;
    virtual void setSearchText(const std::string& text) = 0;
};

// The search field's behaviour: typing is reported after a pause, so a
// burst of keystrokes leads to one search for the full text.
class SearchBarPresenterImpl {
  public:
    static constexpr auto kTypingPause = std::chrono::milliseconds(500);

    explicit SearchBarPresenterImpl(SearchBarView& view) : mView(view) {}
    ~SearchBarPresenterImpl();
    SearchBarPresenterImpl(const SearchBarPresenterImpl&) = delete;
    SearchBarPresenterImpl& operator=(const SearchBarPresenterImpl&) = delete;

    void setSearchBarDelegate(SearchBarDelegate* delegate) { mDelegate = delegate; }

    void controlTextDidChange(const std::string& text);
    const std::string& originalSearchQuery() const { return mText; }
    // Empties a non-empty text and reports the change without a pause.
    void clearSearch();

    enum class Command { cancelOperation, insertTab };
    // Escape clears and leaves the field, Tab leaves it; both answer handled.
    bool doCommand(Command command);

  private:
    void notifyAboutChange();
    void cancelPendingNotice();

    SearchBarView& mView;
    SearchBarDelegate* mDelegate = nullptr;
    std::string mText;
    std::optional<platform::MainQueue::TimerId> mPendingNotice;
    std::shared_ptr<SearchBarPresenterImpl*> mAlive =
        std::make_shared<SearchBarPresenterImpl*>(this);
};

}  // namespace korvex
