#pragma once

namespace korvex {

class FolderSystemItem;

// What `root.sortChildrenBySize(true)` does, with the folders spread over the
// machine's cores: sorting a large tree is the last thing a scan does before
// it reports, and one core alone makes the user wait for it. Nothing else may
// read or change the tree meanwhile.
void sortTreeBySizeInParallel(FolderSystemItem& root);

}  // namespace korvex
