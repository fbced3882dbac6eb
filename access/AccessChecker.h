#pragma once

#include "scan/tree/FolderSystemItem.h"

#include <string>
#include <vector>

namespace korvex {

// The protected user folders that a scan may fail to read, and which paths
// are worth asking the user about.
class AccessChecker {
  public:
    // Downloads, Desktop, Documents, the Trash (and the mail downloads where
    // the system has such a folder), in that order.
    static std::vector<std::string> pathsToBeAccessed();
    // The protected folders the scan below `root` could not open, in tilde form.
    static std::vector<std::string> inaccessibleFoldersIn(FolderSystemItem& root);
    // Removable media roots, or exactly one of the protected folders.
    static bool shouldAskToGrantAccessForPath(const std::string& path);
};

}  // namespace korvex
