#include "cleanup/elevated/ShellPathUtil.h"

namespace korvex {

std::string ShellPathUtil::escapedPath(std::string_view path) {
    std::string escaped;
    escaped.reserve(path.size() + 8);
    for (char c : path) {
        if (c == '\\' || c == '"' || c == '$' || c == '`') {
            escaped.push_back('\\');
        }
        escaped.push_back(c);
    }
    return escaped;
}

std::string ShellPathUtil::shelledPath(std::string_view path) {
    return '"' + escapedPath(path) + '"';
}

}  // namespace korvex
