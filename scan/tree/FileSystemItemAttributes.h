#pragma once

#include <chrono>
#include <optional>
#include <string>

namespace korvex {

using FileDate = std::chrono::system_clock::time_point;

// Dates of a folder, read when first asked for; each is absent when the file
// system does not report it.
struct FileSystemItemAttributes {
    std::optional<FileDate> fileModificationDate;
    std::optional<FileDate> fileCreationDate;
    std::optional<FileDate> lastAccessDate;

    static FileSystemItemAttributes initWithPath(const std::string& path);
};

}  // namespace korvex
