#pragma once

#include "scan/tree/FolderSystemItem.h"

#include <cstdint>
#include <string_view>

namespace korvex::test {

// Nodes made in memory, for sizes and shapes no real folder gives.
inline FolderRef memoryRoot(std::string_view path) {
    return FolderSystemItem::initWithPathSizeNoParent(path, nullptr, 0, false, 0, false, false);
}

inline FolderSystemItem* folder(FolderSystemItem* parent, std::string_view name) {
    return FolderSystemItem::initWithPathSize(name, parent, 0, false, 0, false, false).get();
}

inline ItemRef file(FolderSystemItem* parent, std::string_view name, std::int64_t size) {
    return FileSystemItem::initWithPathSize(name, parent, size, 0, false, false);
}

}  // namespace korvex::test
