#pragma once

#include "scan/tree/FileSystemItem.h"

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace korvex {

// Device and inode of each entry of a tree as they were when the tree was
// saved. A tree read back from a file may be shown long after, or on another
// machine: an entry whose identity on disk is no longer the recorded one is
// another file now, whatever its path says.
class NodeIdentities {
  public:
    struct Identity {
        std::uint64_t device = 0;
        std::uint64_t inode = 0;
        bool operator==(const Identity&) const = default;
    };

    // In any order; lookups wait for seal().
    void add(const FileSystemItem* node, Identity identity) {
        mEntries.emplace_back(node, identity);
    }
    void seal();
    std::optional<Identity> of(const FileSystemItem* node) const;
    bool empty() const { return mEntries.empty(); }

  private:
    // Sorted by node once sealed: far smaller than a hash map of a million nodes.
    std::vector<std::pair<const FileSystemItem*, Identity>> mEntries;
};

}  // namespace korvex
