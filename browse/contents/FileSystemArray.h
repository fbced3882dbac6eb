#pragma once

#include "scan/tree/FileSystemItem.h"

#include <cstddef>
#include <limits>
#include <utility>

namespace korvex {

// An ordered array of tree nodes with the root it was taken from: what the
// biggest-files list and the search results hand to their two-column lists.
class FileSystemArray {
  public:
    static constexpr std::size_t kNotFound = std::numeric_limits<std::size_t>::max();

    FileSystemArray() = default;
    explicit FileSystemArray(ItemList items, ItemRef root = nullptr)
        : mItems(std::move(items)), mRoot(std::move(root)) {}

    const ItemRef& root() const { return mRoot; }
    const ItemList& items() const { return mItems; }

    std::size_t count() const { return mItems.size(); }
    const ItemRef& objectAtIndex(std::size_t index) const { return mItems.at(index); }
    // By identity; kNotFound when absent.
    std::size_t indexOfObject(const FileSystemItem* item) const;
    ItemRef lastObject() const { return mItems.empty() ? nullptr : mItems.back(); }

  private:
    ItemList mItems;
    ItemRef mRoot;
};

}  // namespace korvex
