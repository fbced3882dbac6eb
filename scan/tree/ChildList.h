#pragma once

#include "scan/tree/ItemRef.h"

#include <cstddef>
#include <cstdint>

namespace korvex {

// The children of a folder: references in one array that grows while the
// folder is read and is cut to its exact length once the folder is complete,
// in 16 bytes instead of a vector's 24. Reads like a vector of ItemRef
// (iteration, size, indexing) and converts to one.
class ChildList {
  public:
    ChildList() = default;
    ~ChildList() { clear(); }
    ChildList(ChildList&& other) noexcept;
    ChildList& operator=(ChildList&& other) noexcept;
    ChildList(const ChildList&) = delete;
    ChildList& operator=(const ChildList&) = delete;

    const ItemRef* begin() const { return mData; }
    const ItemRef* end() const { return mData + mSize; }
    const ItemRef* cbegin() const { return begin(); }
    const ItemRef* cend() const { return end(); }
    std::size_t size() const { return mSize; }
    bool empty() const { return mSize == 0; }
    const ItemRef& operator[](std::size_t index) const { return mData[index]; }
    const ItemRef& front() const { return mData[0]; }
    const ItemRef& back() const { return mData[mSize - 1]; }
    operator ItemList() const { return ItemList(begin(), end()); }

    // The owning folder changes the list through these.
    ItemRef* begin() { return mData; }
    ItemRef* end() { return mData + mSize; }
    ItemRef& operator[](std::size_t index) { return mData[index]; }
    void push_back(ItemRef child);
    void insert(std::size_t at, ItemRef child);
    void erase(std::size_t at);
    void assign(ItemList children);
    void clear();
    // Drops the room left for children that will not come.
    void shrinkToFit();

  private:
    static constexpr std::uint32_t kFirstCapacity = 8;
    void reallocate(std::uint32_t capacity);

    ItemRef* mData = nullptr;
    std::uint32_t mSize = 0;
    std::uint32_t mCapacity = 0;
};

}  // namespace korvex
