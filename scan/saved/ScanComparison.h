#pragma once

#include "scan/tree/FolderSystemItem.h"

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace korvex {

// What changed between two scans of the same folder. Nodes are matched by
// name below the two roots; every node of the newer tree knows its change in
// bytes, and a node present in one scan only counts wholly as added or
// removed (a moved folder is removed at its old place and added at its new).
class ScanComparison {
  public:
    enum class ChangeKind { Added, Removed, Grown, Shrunk };

    // One line of the list of changes: the smallest nodes that explain the
    // difference. A folder in both scans is listed only when its own blocks
    // changed (`ownBlocks`); what changed below it is listed on its own.
    struct Change {
        ChangeKind kind;
        std::string path;
        std::int64_t oldBytes = 0;
        std::int64_t newBytes = 0;
        bool folder = false;
        bool ownBlocks = false;
        std::int64_t delta() const { return newBytes - oldBytes; }
    };

    // Both trees must outlive the comparison.
    ScanComparison(const FolderSystemItem& older, const FolderSystemItem& newer);

    // The node's size in the older scan; nothing when it is new.
    std::optional<std::int64_t> oldSizeOf(const FileSystemItem* node) const;
    // The node's change in bytes; an added node's whole size.
    std::int64_t deltaOf(const FileSystemItem* node) const;
    bool isAdded(const FileSystemItem* node) const { return !oldSizeOf(node).has_value(); }
    // Nodes of the newer tree directly holding removed ones: what they lost.
    std::int64_t removedBelow(const FileSystemItem* folder) const;
    std::int64_t totalDelta() const;
    // Biggest change first (by its absolute size), ties by path.
    const std::vector<Change>& changes() const { return mChanges; }

  private:
    void compareFolders(const FileSystemItem& older, const FileSystemItem& newer);
    void listOwnChange(const FileSystemItem& older, const FileSystemItem& newer);

    const FolderSystemItem* mOlder;
    const FolderSystemItem* mNewer;
    std::unordered_map<const FileSystemItem*, std::int64_t> mOldSizes;
    std::unordered_map<const FileSystemItem*, std::int64_t> mRemovedBelow;
    std::vector<Change> mChanges;
};

}  // namespace korvex
