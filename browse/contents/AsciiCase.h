#pragma once

#include <string>
#include <string_view>

namespace korvex {

// Names may be any bytes, so only ASCII letters fold; other bytes stay.
inline char asciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

inline std::string asciiLowerCased(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        c = asciiLower(c);
    }
    return lower;
}

}  // namespace korvex
