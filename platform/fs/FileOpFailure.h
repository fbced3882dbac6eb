#pragma once

#include <string>
#include <string_view>

namespace korvex::platform {

// Why a file operation did not happen: the system's error number and a text
// for the user that names what was attempted and ends with the system's words.
struct FileOpFailure {
    int errnoValue = 0;
    std::string message;
};

// "<what>: <the system's description of errnoValue>".
FileOpFailure systemFailure(int errnoValue, std::string_view what);

// The path in double quotes, as messages show it.
std::string quotedPath(std::string_view path);

}  // namespace korvex::platform
