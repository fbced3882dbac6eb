#pragma once

#include "scan/saved/SavedScan.h"

#include <memory>
#include <string>

namespace korvex {

// Opens a scan file of either kind this program reads, a saved scan or an
// ncdu export, telling them apart by their first bytes. Errors name the
// file and say what is wrong where.
SavedScanResult readScanFile(const std::string& path);

// The device and inode of every entry of a tree still on disk, read now.
std::shared_ptr<const NodeIdentities> identitiesOnDisk(const FolderSystemItem& root);

// A finished scan as the saved-scan writer takes it: the tree plus this
// machine's name, the time now and the root's identity on disk; with
// `entryIdentities` also every entry's (a few seconds for a million).
SavedScan savedScanOf(FolderRef root, std::int64_t entriesRead,
                      std::vector<std::string> deniedFolders, double seconds, bool cancelled,
                      bool entryIdentities = true);

}  // namespace korvex
