#include "cleanup/collection/SelectionInfoState.h"

namespace korvex {

void SelectionInfoState::set(std::int64_t count, std::int64_t size) {
    std::vector<Listener> listeners;
    {
        std::lock_guard lock(mLock);
        if (count == mSelectedCount && size == mSelectedSize)
            return;
        mSelectedCount = count;
        mSelectedSize = size;
        listeners = mListeners;
    }
    for (const auto& listener : listeners)
        listener(count, size);
}

std::int64_t SelectionInfoState::selectedCount() const {
    std::lock_guard lock(mLock);
    return mSelectedCount;
}

std::int64_t SelectionInfoState::selectedSize() const {
    std::lock_guard lock(mLock);
    return mSelectedSize;
}

void SelectionInfoState::addListener(Listener listener) {
    std::lock_guard lock(mLock);
    mListeners.push_back(std::move(listener));
}

}  // namespace korvex
