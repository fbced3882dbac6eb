#pragma once

#include "scan/tree/ItemRef.h"

#include <cstddef>

namespace korvex {

class FolderSystemItem;

// The `count` (at most kBiggestFilesBound) biggest files below `root`, as the
// biggest-files list of the tree with every folder in list order has them:
// largest first, files of one size in the order a walk through the folders in
// list order meets them. The folders below need not be in order, so a scan
// that orders only its root's children answers the same; when very many
// files share the last size wanted, the tree is put in order on the way.
ItemList biggestFilesInListOrder(FolderSystemItem& root, std::size_t count);

}  // namespace korvex
