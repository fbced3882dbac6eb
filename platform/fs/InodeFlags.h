#pragma once

#include <optional>
#include <string>

namespace korvex::platform {

// The file attributes that lock a file against removal (chattr +i, +a).
struct InodeFlags {
    bool immutable = false;
    bool appendOnly = false;
};

// Nothing when the file system keeps no such attributes, the file cannot be
// opened, or it is a symbolic link (links carry none).
std::optional<InodeFlags> inodeFlags(const std::string& path);

}  // namespace korvex::platform
