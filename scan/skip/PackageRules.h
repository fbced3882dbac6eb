#pragma once

#include <string_view>

namespace korvex {

// A folder shown and sized as one item, by the suffix of its name
// (case-sensitive). Linux keeps no bundle flag and few folder kinds that are
// one thing to the user: an unpacked AppImage application (".AppDir") is.
// Plug-in and bundle folders of Linux programs are ordinary folders.
inline bool isPackageName(std::string_view name) {
    constexpr std::string_view kSuffixes[] = {".AppDir"};
    for (std::string_view suffix : kSuffixes) {
        if (name.size() > suffix.size() && name.ends_with(suffix)) {
            return true;
        }
    }
    return false;
}

// Hidden entries are those whose name begins with a dot.
inline bool isHiddenName(std::string_view name) {
    return !name.empty() && name.front() == '.';
}

}  // namespace korvex
