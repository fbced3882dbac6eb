#include "platform/fs/FileOpFailure.h"

#include <cstring>

namespace korvex::platform {

FileOpFailure systemFailure(int errnoValue, std::string_view what) {
    char buffer[256];
    // The GNU strerror_r: safe from any thread, answers a text it may not copy.
    const char* text = ::strerror_r(errnoValue, buffer, sizeof buffer);
    std::string message(what);
    message += ": ";
    message += text;
    return {errnoValue, std::move(message)};
}

std::string quotedPath(std::string_view path) {
    std::string text = "\"";
    text += path;
    text += '"';
    return text;
}

}  // namespace korvex::platform
