#include "browse/contents/FileSystemArray.h"

#include <algorithm>

namespace korvex {

std::size_t FileSystemArray::indexOfObject(const FileSystemItem* item) const {
    auto found = std::find_if(mItems.begin(), mItems.end(),
                              [item](const ItemRef& entry) { return entry.get() == item; });
    return found == mItems.end() ? kNotFound : static_cast<std::size_t>(found - mItems.begin());
}

}  // namespace korvex
