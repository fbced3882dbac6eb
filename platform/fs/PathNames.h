#pragma once

#include <string_view>

namespace korvex::platform {

// The last component of a path, trailing separators ignored; "/" for the root.
inline std::string_view lastPathComponent(std::string_view path) {
    while (path.size() > 1 && path.back() == '/') {
        path.remove_suffix(1);
    }
    std::size_t slash = path.rfind('/');
    if (slash == std::string_view::npos || path.size() == 1) {
        return path;
    }
    return path.substr(slash + 1);
}

}  // namespace korvex::platform
