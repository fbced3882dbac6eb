#include "cleanup/collection/views/RemoveListPresenter.h"

namespace korvex {

std::shared_ptr<RemoveListPresenter> RemoveListPresenter::create(
    std::shared_ptr<OperationsManager> manager, ActionTypeMenuController& chooser,
    std::function<void()> dismissed) {
    std::shared_ptr<RemoveListPresenter> presenter(
        new RemoveListPresenter(std::move(manager), chooser, std::move(dismissed)));
    for (const auto& item : presenter->mManager->items())
        item->setSelectionHandler(presenter);
    return presenter;
}

RemoveListPresenter::RemoveListPresenter(std::shared_ptr<OperationsManager> manager,
                                         ActionTypeMenuController& chooser,
                                         std::function<void()> dismissed)
    : mManager(std::move(manager)), mChooser(chooser), mDismissed(std::move(dismissed)) {
    mManager->setPerformingWithUI(true);
}

bool RemoveListPresenter::isItemSelected(const OperationItem& item) const {
    return mUnticked.count(&item) == 0;
}

void RemoveListPresenter::setItemSelected(const OperationItem& item, bool selected) {
    if (selected)
        mUnticked.erase(&item);
    else
        mUnticked.insert(&item);
}

RemoveListPresenter::Ticked RemoveListPresenter::tickedItems() const {
    Ticked ticked;
    for (const auto& item : mManager->items())
        if (isItemSelected(*item) && !isSuccess(item->state())) {
            ++ticked.count;
            ticked.size += item->size();
        }
    return ticked;
}

bool RemoveListPresenter::isReviewing() const {
    return std::holds_alternative<OperationInReview>(mManager->state());
}

bool RemoveListPresenter::isRunning() const {
    return std::holds_alternative<OperationInProgress>(mManager->state());
}

bool RemoveListPresenter::isCompleted() const {
    return std::holds_alternative<OperationCompleted>(mManager->state());
}

bool RemoveListPresenter::canRetry() const {
    const OperationsManagerState state = mManager->state();
    const auto* done = std::get_if<OperationCompleted>(&state);
    return done && done->failed > 0;
}

bool RemoveListPresenter::hasDetails() const {
    for (const auto& item : mManager->items()) {
        const auto state = item->state();
        if (failureOf(state) || warningOf(state))
            return true;
    }
    return false;
}

void RemoveListPresenter::startOperation() {
    if (isRunning())
        return;
    // New rows (a retry keeps the failed ones) answer to this sheet too.
    for (const auto& item : mManager->items())
        item->setSelectionHandler(shared_from_this());
    mManager->startOperation();
}

void RemoveListPresenter::dismiss() {
    if (auto dismissed = std::exchange(mDismissed, nullptr))
        dismissed();
}

}  // namespace korvex
