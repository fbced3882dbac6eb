#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace korvex::test {

// The first number a shell command prints; -1 when there is none.
inline std::int64_t commandNumber(const std::string& command) {
    FILE* pipe = ::popen(command.c_str(), "r");
    long long number = -1;
    if (pipe != nullptr) {
        if (std::fscanf(pipe, "%lld", &number) != 1) {
            number = -1;
        }
        ::pclose(pipe);
    }
    return number;
}

// Everything a shell command prints on its standard output.
inline std::string commandOutput(const std::string& command) {
    std::string output;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char chunk[4096];
        while (std::size_t n = std::fread(chunk, 1, sizeof chunk, pipe)) {
            output.append(chunk, n);
        }
        ::pclose(pipe);
    }
    return output;
}

inline std::string shellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

// What `du -s -B1` says `path` takes (`-x`: on its own file system only).
// The reference the scan's totals are held to.
inline std::int64_t duBytes(const std::string& path, bool oneFileSystem = false) {
    return commandNumber(std::string("du -s -B1 ") + (oneFileSystem ? "-x " : "") +
                         shellQuoted(path));
}

// What `df -B1 --output=used` says is used on the volume of `path`.
inline std::int64_t dfUsed(const std::string& path) {
    return commandNumber("df -B1 --output=used " + shellQuoted(path) + " | tail -n 1");
}

}  // namespace korvex::test
