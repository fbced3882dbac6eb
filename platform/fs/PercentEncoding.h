#pragma once

#include <string>
#include <string_view>

namespace korvex::platform {

// Percent-encoding of file names and paths as trash information files keep
// them: every byte but the unreserved ASCII ones and "/" becomes %XX, so any
// byte sequence (newlines, invalid UTF-8) survives a line-based text file.
std::string percentEncodePath(std::string_view bytes);
// The bytes back; a "%" not followed by two hex digits stays as it is.
std::string percentDecode(std::string_view text);

}  // namespace korvex::platform
