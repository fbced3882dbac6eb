#pragma once

#include "cleanup/elevated/BashScript.h"

#include <vector>

namespace korvex {

// Removes paths for good ("rm -rf"), first clearing the immutable and the
// append-only attribute of each item and of its parent folder where set.
class RemovePermanentlyBashScript : public BashScript {
  public:
    explicit RemovePermanentlyBashScript(std::vector<std::string> paths,
                                         bool requireAdminPrivileges = true,
                                         bool allowBackgroundBuild = true)
        : mPaths(std::move(paths)),
          mRequireAdminPrivileges(requireAdminPrivileges),
          mAllowBackgroundBuild(allowBackgroundBuild) {}

    bool requireAdminPrivileges() const override { return mRequireAdminPrivileges; }
    bool allowBackgroundBuild() const override { return mAllowBackgroundBuild; }
    // Reads the attributes of the paths as they are now.
    std::string buildScript() const override;

  private:
    std::vector<std::string> mPaths;
    bool mRequireAdminPrivileges;
    bool mAllowBackgroundBuild;
};

// Clears the immutable and the append-only attribute of the paths. The
// script runs with administrator rights already, so it needs no "sudo".
class UnlockSystemLockedFilesScript : public BashScript {
  public:
    explicit UnlockSystemLockedFilesScript(std::vector<std::string> paths)
        : mPaths(std::move(paths)) {}

    bool requireAdminPrivileges() const override { return true; }
    bool allowBackgroundBuild() const override { return true; }
    std::string buildScript() const override;

  private:
    std::vector<std::string> mPaths;
};

// Copies one item with its attributes ("cp -a"); the source stays.
class MoveFileUsingShellBashScript : public BashScript {
  public:
    MoveFileUsingShellBashScript(std::string fromPath, std::string toPath,
                                 bool allowBackgroundBuild = true)
        : mFromPath(std::move(fromPath)),
          mToPath(std::move(toPath)),
          mAllowBackgroundBuild(allowBackgroundBuild) {}

    bool requireAdminPrivileges() const override { return true; }
    bool allowBackgroundBuild() const override { return mAllowBackgroundBuild; }
    std::string buildScript() const override;

  private:
    std::string mFromPath;
    std::string mToPath;
    bool mAllowBackgroundBuild;
};

}  // namespace korvex
