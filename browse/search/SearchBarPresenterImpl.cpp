#include "browse/search/SearchBarPresenterImpl.h"

namespace korvex {

SearchBarPresenterImpl::~SearchBarPresenterImpl() {
    cancelPendingNotice();
}

void SearchBarPresenterImpl::controlTextDidChange(const std::string& text) {
    mText = text;
    cancelPendingNotice();
    auto& queue = platform::MainQueue::shared();
    mPendingNotice = queue.after(kTypingPause, [this] {
        mPendingNotice.reset();
        notifyAboutChange();
    });
    std::weak_ptr<SearchBarPresenterImpl*> alive = mAlive;
    queue.async([alive, hasQuery = !text.empty()] {
        auto presenter = alive.lock();
        if (presenter && (*presenter)->mDelegate != nullptr) {
            (*presenter)
                ->mDelegate->searchBarViewControllerDidChangeStateWithHasSearchQuery(hasQuery);
        }
    });
}

void SearchBarPresenterImpl::clearSearch() {
    if (mText.empty()) {
        return;
    }
    cancelPendingNotice();
    mText.clear();
    mView.setSearchText(mText);
    if (mDelegate != nullptr) {
        mDelegate->searchBarViewControllerDidChangeStateWithHasSearchQuery(false);
    }
    notifyAboutChange();
}

bool SearchBarPresenterImpl::doCommand(Command command) {
    if (command == Command::cancelOperation) {
        clearSearch();
    }
    if (mDelegate != nullptr) {
        mDelegate->selectNextFirstResponder();
        mDelegate->searchBarViewControllerWithDo(
            command == Command::cancelOperation ? SearchAction::cancel : SearchAction::tab);
    }
    return true;
}

void SearchBarPresenterImpl::notifyAboutChange() {
    if (mDelegate != nullptr) {
        mDelegate->searchBarViewControllerWithSearchStringChanged(mText);
    }
}

void SearchBarPresenterImpl::cancelPendingNotice() {
    if (mPendingNotice) {
        platform::MainQueue::shared().cancelTimer(*mPendingNotice);
        mPendingNotice.reset();
    }
}

}  // namespace korvex
