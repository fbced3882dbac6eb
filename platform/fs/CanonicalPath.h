#pragma once

#include <string>

namespace korvex::platform {

// The absolute path without links, "." or ".." that `path` names (relative
// paths taken from the working folder); `path` itself when it cannot be
// resolved, so that the caller reports the folder as the user gave it.
std::string canonicalPath(const std::string& path);

}  // namespace korvex::platform
