#pragma once

// Figures of the running benchmark process: memory from /proc and elapsed time.

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>

namespace korvex::bench {

// A "Vm…:" field of /proc/self/status, in KiB.
inline long statusKiB(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field, 0) == 0) {
            return std::strtol(line.c_str() + std::char_traits<char>::length(field), nullptr, 10);
        }
    }
    return 0;
}

inline double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace korvex::bench
