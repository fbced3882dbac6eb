#pragma once

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

}  // namespace korvex::platform
