#pragma once

#include "scan/saved/NodeIdentities.h"
#include "scan/tree/FolderSystemItem.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace korvex {

// A finished scan as kept in a file: the tree and what is known about the
// scan that made it. A tree read back from a file was never walked on this
// machine; `host` and the root's identity tell whether it may describe the
// disk in front of the user.
struct SavedScan {
    FolderRef root;
    std::string host;
    std::int64_t scanTime = 0;  // seconds since 1970, UTC
    std::int64_t entriesRead = 0;
    double seconds = 0;  // how long the scan took
    bool cancelled = false;
    std::vector<std::string> deniedFolders;
    // Device and inode of the scanned root when it was scanned; 0 when unknown.
    std::uint64_t rootDevice = 0;
    std::uint64_t rootInode = 0;
    // Each entry's identity when it was saved; null when the file kept none
    // (an older saved scan, an ncdu export).
    std::shared_ptr<const NodeIdentities> identities;
};

// What a reader answers: the scan, or why the file cannot be used.
struct SavedScanResult {
    std::optional<SavedScan> scan;
    std::string error;
};

}  // namespace korvex
