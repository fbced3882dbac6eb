#pragma once

#include <chrono>
#include <optional>
#include <string>

namespace korvex::platform {

// The dates of a path, each absent when the file system does not report it.
struct FileDates {
    using Date = std::chrono::system_clock::time_point;
    std::optional<Date> modification;
    std::optional<Date> access;
    std::optional<Date> creation;
};

// Reads the dates without following a final symbolic link; all absent when
// the path cannot be examined.
FileDates readFileDates(const std::string& path);

// The name a file manager shows for a path: its last component ("/" for the root).
std::string displayNameAtPath(const std::string& path);

}  // namespace korvex::platform
