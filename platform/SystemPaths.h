#pragma once

#include <string>
#include <vector>

namespace korvex::platform {

// The folders of the system's own layout, which the removal rules treat as
// system items: the top-level folders of the Filesystem Hierarchy Standard,
// the housekeeping folders at the root of every mounted volume, and each
// user's standard folders.
std::vector<std::string> systemPaths();

}  // namespace korvex::platform
