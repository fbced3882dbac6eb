#pragma once

#include "scan/tree/ItemRef.h"

#include <cstdint>
#include <mutex>
#include <unordered_set>
#include <utility>
#include <vector>

namespace korvex {

// The files of one scan that have more than one link. Each inode is counted
// once: while the scan runs at the first link a worker meets, and when it
// ends at the link that comes first in path order, so that the same tree
// always gives the same answer. Shared by the scan's workers.
class HardLinkRegistry {
  public:
    struct Key {
        std::uint64_t device;
        std::uint64_t inode;
        bool operator==(const Key&) const = default;
    };

    // Worker side: answers whether this link is the first of its inode met.
    bool claim(Key key);
    // Worker side: a node made for a link; it is flagged as a hard link.
    void remember(Key key, const ItemRef& node);

    // Main thread, once every node is attached: moves each inode's bytes to
    // its link first in path order; answers the links that now count them.
    ItemList settle();

  private:
    struct KeyHash {
        std::size_t operator()(const Key& key) const {
            return std::hash<std::uint64_t>()(key.inode * 31 + key.device);
        }
    };
    std::mutex mLock;
    std::unordered_set<Key, KeyHash> mClaimed;
    std::vector<std::pair<Key, ItemRef>> mLinks;
};

}  // namespace korvex
