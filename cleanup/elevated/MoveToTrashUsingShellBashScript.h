#pragma once

#include "cleanup/elevated/BashScript.h"

#include <sys/types.h>

#include <vector>

namespace korvex {

// Moves paths into the freedesktop.org Trash of the user who asked, from a
// script that may run as root: each item gets its ".trashinfo" (original
// path, deletion time) before it is moved, and a free name ("x 1", "x 2",
// "a 1.txt") when the Trash holds one of that name already.
class MoveToTrashUsingShellBashScript : public BashScript {
  public:
    // The current user's home Trash and user id.
    explicit MoveToTrashUsingShellBashScript(std::vector<std::string> paths);
    MoveToTrashUsingShellBashScript(std::vector<std::string> paths, const std::string& homeTrash,
                                    uid_t uid);

    // The definitions the script starts with, the function movetotrash.
    const std::string& contents() const { return mContents; }
    const std::vector<std::string>& paths() const { return mPaths; }
    void setAllowBackgroundBuild(bool allow) { mAllowBackgroundBuild = allow; }

    bool requireAdminPrivileges() const override { return true; }
    bool allowBackgroundBuild() const override { return mAllowBackgroundBuild; }
    std::string buildScript() const override;

  private:
    std::string mContents;
    std::vector<std::string> mPaths;
    bool mAllowBackgroundBuild = true;
};

}  // namespace korvex
