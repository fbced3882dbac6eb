#pragma once

#include <string>
#include <unordered_set>

namespace korvex {

// Whether a path is one of the system's own folders (built once, on first use).
class SystemFilesChecker {
  public:
    static bool isSystemFileAt(const std::string& path);

  private:
    static const std::unordered_set<std::string>& systemPathsSet();
};

}  // namespace korvex
