#include "access/SystemFilesChecker.h"

#include "platform/SystemPaths.h"

namespace korvex {

const std::unordered_set<std::string>& SystemFilesChecker::systemPathsSet() {
    static const std::unordered_set<std::string> paths = [] {
        std::vector<std::string> list = platform::systemPaths();
        return std::unordered_set<std::string>(list.begin(), list.end());
    }();
    return paths;
}

bool SystemFilesChecker::isSystemFileAt(const std::string& path) {
    return systemPathsSet().count(path) != 0;
}

}  // namespace korvex
