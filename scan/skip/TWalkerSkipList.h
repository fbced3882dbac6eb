#pragma once

#include "platform/UserFolders.h"

#include <string>
#include <string_view>

namespace korvex {

// Protected per-user data the scan leaves out. The folders come from the
// user's folder layout; a folder with no Linux counterpart matches nothing.
class TWalkerSkipList {
  public:
    TWalkerSkipList();
    explicit TWalkerSkipList(const platform::UserFolders& folders);

    // `folderPath` is the full path of the folder holding `name`.
    bool isInExcludeListName(std::string_view name, std::string_view folderPath) const;

  private:
    std::string userLibraryPath;
    std::string userApplicationSupportPath;
    std::string userPreferencesPath;
};

}  // namespace korvex
