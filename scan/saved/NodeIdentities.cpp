#include "scan/saved/NodeIdentities.h"

#include <algorithm>

namespace korvex {

void NodeIdentities::seal() {
    std::sort(mEntries.begin(), mEntries.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
}

std::optional<NodeIdentities::Identity> NodeIdentities::of(const FileSystemItem* node) const {
    auto found = std::lower_bound(
        mEntries.begin(), mEntries.end(), node,
        [](const auto& entry, const FileSystemItem* key) { return entry.first < key; });
    if (found == mEntries.end() || found->first != node) {
        return std::nullopt;
    }
    return found->second;
}

}  // namespace korvex
