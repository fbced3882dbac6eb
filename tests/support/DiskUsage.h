#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace korvex::test {

// What `du -s -B1` says `path` takes (`-x`: on its own file system only);
// -1 when du cannot be run. The reference the scan's totals are held to.
inline std::int64_t duBytes(const std::string& path, bool oneFileSystem = false) {
    std::string quoted = "'";
    for (char c : path) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    quoted += "'";
    std::string command = std::string("du -s -B1 ") + (oneFileSystem ? "-x " : "") + quoted;
    FILE* pipe = ::popen(command.c_str(), "r");
    long long bytes = -1;
    if (pipe != nullptr) {
        if (std::fscanf(pipe, "%lld", &bytes) != 1) {
            bytes = -1;
        }
        ::pclose(pipe);
    }
    return bytes;
}

}  // namespace korvex::test
