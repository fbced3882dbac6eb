#pragma once

#include "platform/UserFolders.h"

#include <string>
#include <string_view>

namespace korvex {

// Protected per-user data the scan leaves out, below the user's XDG data
// home.
class TWalkerSkipList {
  public:
    TWalkerSkipList();
    explicit TWalkerSkipList(const platform::UserFolders& folders);

    // `folderPath` is the full path of the folder holding `name`.
    bool isInExcludeListName(std::string_view name, std::string_view folderPath) const;

  private:
    std::string userLibraryPath;
    std::string userApplicationSupportPath;
};

}  // namespace korvex
