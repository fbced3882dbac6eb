#pragma once

#include <string>
#include <string_view>

namespace korvex {

// Text that bash reads back unchanged inside double quotes: every character
// that keeps a special meaning there ("\", "\"", "$" and "`") gets a
// backslash. Everything else, newlines and bytes that are not UTF-8
// included, stands as it is.
class ShellPathUtil {
  public:
    static std::string escapedPath(std::string_view path);
    // The escaped text wrapped in double quotes.
    static std::string shelledPath(std::string_view path);
};

}  // namespace korvex
