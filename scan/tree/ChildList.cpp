#include "scan/tree/ChildList.h"

#include "scan/tree/FileSystemItem.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <memory>
#include <new>
#include <utility>

namespace korvex {

ChildList::ChildList(ChildList&& other) noexcept
    : mData(std::exchange(other.mData, nullptr)),
      mSize(std::exchange(other.mSize, 0)),
      mCapacity(std::exchange(other.mCapacity, 0)) {}

ChildList& ChildList::operator=(ChildList&& other) noexcept {
    if (this != &other) {
        clear();
        mData = std::exchange(other.mData, nullptr);
        mSize = std::exchange(other.mSize, 0);
        mCapacity = std::exchange(other.mCapacity, 0);
    }
    return *this;
}

void ChildList::reallocate(std::uint32_t capacity) {
    ItemRef* fresh = nullptr;
    if (capacity != 0) {
        fresh = static_cast<ItemRef*>(std::malloc(capacity * sizeof(ItemRef)));
        if (fresh == nullptr) {
            throw std::bad_alloc();
        }
        std::uninitialized_move_n(mData, mSize, fresh);
    }
    std::destroy_n(mData, mSize);
    std::free(mData);
    mData = fresh;
    mCapacity = capacity;
}

void ChildList::push_back(ItemRef child) {
    insert(mSize, std::move(child));
}

void ChildList::insert(std::size_t at, ItemRef child) {
    if (mSize == mCapacity) {
        if (mSize == std::numeric_limits<std::uint32_t>::max()) {
            throw std::length_error("too many children");
        }
        // Most folders hold a few entries: starting at several spares them
        // the reallocations of 1, 2 and 4; a finished folder is cut to size.
        const std::uint64_t grown = mCapacity == 0 ? kFirstCapacity : std::uint64_t{mCapacity} * 2;
        reallocate(static_cast<std::uint32_t>(
            std::min<std::uint64_t>(grown, std::numeric_limits<std::uint32_t>::max())));
    }
    ::new (static_cast<void*>(mData + mSize)) ItemRef();
    ++mSize;
    for (std::size_t i = mSize - 1; i > at; --i) {
        mData[i] = std::move(mData[i - 1]);
    }
    mData[at] = std::move(child);
}

void ChildList::erase(std::size_t at) {
    for (std::size_t i = at; i + 1 < mSize; ++i) {
        mData[i] = std::move(mData[i + 1]);
    }
    --mSize;
    std::destroy_at(mData + mSize);
}

void ChildList::assign(ItemList children) {
    clear();
    reallocate(static_cast<std::uint32_t>(children.size()));
    std::uninitialized_move(children.begin(), children.end(), mData);
    mSize = static_cast<std::uint32_t>(children.size());
}

void ChildList::clear() {
    std::destroy_n(mData, mSize);
    std::free(mData);
    mData = nullptr;
    mSize = 0;
    mCapacity = 0;
}

void ChildList::shrinkToFit() {
    if (mSize != mCapacity) {
        reallocate(mSize);
    }
}

}  // namespace korvex
