#pragma once

#include <sys/stat.h>

#include <string>

namespace korvex::platform {

// Whether anything is at `path`, a symbolic link (dangling or not) included:
// the link itself is looked at, never what it points to.
inline bool somethingExistsAt(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

}  // namespace korvex::platform
