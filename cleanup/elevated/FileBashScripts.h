#pragma once

#include "cleanup/elevated/BashScript.h"

#include <vector>

namespace korvex {

// Removes paths for good ("rm -rf"), first clearing the immutable and the
// append-only attribute of each item and of its parent folder where set.
class RemovePermanentlyBashScript : public PathsBashScript {
  public:
    explicit RemovePermanentlyBashScript(std::vector<std::string> paths,
                                         bool requireAdminPrivileges = true,
                                         bool allowBackgroundBuild = true)
        : PathsBashScript(std::move(paths), requireAdminPrivileges, allowBackgroundBuild) {}

    // Reads the attributes of the paths as they are now.
    std::string buildScript() const override;
};

// Clears the immutable and the append-only attribute of the paths. The
// script runs with administrator rights already, so it needs no "sudo".
class UnlockSystemLockedFilesScript : public PathsBashScript {
  public:
    explicit UnlockSystemLockedFilesScript(std::vector<std::string> paths)
        : PathsBashScript(std::move(paths), true, true) {}

    std::string buildScript() const override;
};

// Copies one item with its attributes ("cp -a"); the source stays.
class MoveFileUsingShellBashScript : public ConfiguredBashScript {
  public:
    MoveFileUsingShellBashScript(std::string fromPath, std::string toPath,
                                 bool allowBackgroundBuild = true)
        : ConfiguredBashScript(true, allowBackgroundBuild),
          mFromPath(std::move(fromPath)),
          mToPath(std::move(toPath)) {}

    std::string buildScript() const override;

  private:
    std::string mFromPath;
    std::string mToPath;
};

}  // namespace korvex
