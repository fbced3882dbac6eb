#include "platform/fs/CanonicalPath.h"

#include <climits>
#include <cstdlib>

namespace korvex::platform {

std::string canonicalPath(const std::string& path) {
    char resolved[PATH_MAX];
    if (path.empty() || ::realpath(path.c_str(), resolved) == nullptr) {
        return path;
    }
    return resolved;
}

}  // namespace korvex::platform
