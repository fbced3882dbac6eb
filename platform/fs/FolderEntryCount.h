#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace korvex::platform {

// How many entries the folder at `path` holds directly ("." and ".." left
// out); nothing when it cannot be listed.
std::optional<std::int64_t> countFolderEntries(const std::string& path);

}  // namespace korvex::platform
