#pragma once

#include "scan/tree/FolderSystemItem.h"

#include <functional>
#include <string_view>

namespace korvex {

// Every node below `root` whose name holds `query`, ignoring letter case
// (Unicode case folding), biggest first (equal sizes keep the order they were
// found in). The tree is read level by level, each level split between
// threads; packages match by their own name but are not entered, and the
// root itself is never a hit. `cancelled` is asked between levels; a
// cancelled search answers nothing.
ItemList searchItemsByName(const FolderSystemItem& root, std::string_view query,
                           const std::function<bool()>& cancelled);

}  // namespace korvex
