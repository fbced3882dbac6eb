#pragma once

#include <string>
#include <string_view>

namespace korvex::cli {

// A name made safe for one terminal line: control characters and bytes that
// are not UTF-8 are written as escapes, so odd names cannot break the output.
std::string printable(std::string_view text);

}  // namespace korvex::cli
