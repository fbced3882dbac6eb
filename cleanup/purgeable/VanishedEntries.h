#pragma once

#include "scan/tree/VolumeSystemItem.h"

#include <string>
#include <vector>

namespace korvex {

struct VanishedEntry {
    ItemRef node;
    std::string path;
    std::int64_t size;
};

// The scanned entries below `folders` in `volume` that are no longer on disk
// (the topmost of each vanished branch), the folders examined concurrently.
// The tree is only read, while the calling thread waits.
std::vector<VanishedEntry> collectVanishedEntries(VolumeSystemItem& volume,
                                                  const std::vector<std::string>& folders);

// Takes the entries out of the tree; their ancestors shrink by their sizes.
void removeVanishedEntries(const std::vector<VanishedEntry>& entries);

}  // namespace korvex
