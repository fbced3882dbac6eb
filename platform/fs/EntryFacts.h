#pragma once

#include <cstdint>
#include <string>

namespace korvex::platform {

// Why this process cannot size a folder: it may not list it, or it may list
// it but not look up what it lists (no search permission).
enum class FolderDenial { None, Unreadable, Unsearchable };
FolderDenial folderDenialAt(const std::string& path);

// The number of names a file has (hard links); 0 when it cannot be read.
std::uint32_t linkCountAt(const std::string& path);

}  // namespace korvex::platform
