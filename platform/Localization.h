#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace korvex::platform {

// One entry of a named text table: the key translators see, the English text
// used until a translation exists, and a note for translators.
struct TextEntry {
    const char* key;
    const char* english;
    const char* comment;
};

// The text of `entry` in table `table` for the user's language. Only the
// English texts ship so far, so the English text is the answer.
inline std::string localized(std::string_view /*table*/, const TextEntry& entry) {
    return entry.english;
}

// Fills the "%@" placeholders of a text in order; values are never scanned
// for placeholders themselves.
inline std::string fillPlaceholders(std::string pattern,
                                    std::initializer_list<std::string_view> values) {
    std::size_t from = 0;
    for (std::string_view value : values) {
        std::size_t at = pattern.find("%@", from);
        if (at == std::string::npos) {
            break;
        }
        pattern.replace(at, 2, value);
        from = at + value.size();
    }
    return pattern;
}

}  // namespace korvex::platform
