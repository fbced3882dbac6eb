#pragma once

#include "cleanup/elevated/BashScript.h"

#include <vector>

namespace korvex {

// Moves paths to the Trash through the desktop's own Trash service ("gio
// trash"), as the user, within an hour; a failure is reported as an error
// block with the service's exit status and message.
//
// Clearing a lock of a parent folder first is left out: on Linux that lock is
// the immutable attribute, which only administrator rights may clear.
class MoveToTrashUsingFinderBashScript : public PathsBashScript {
  public:
    explicit MoveToTrashUsingFinderBashScript(std::vector<std::string> paths,
                                              bool requireAdminPrivileges = false,
                                              bool allowBackgroundBuild = true)
        : PathsBashScript(std::move(paths), requireAdminPrivileges, allowBackgroundBuild) {}

    std::string buildScript() const override;
};

}  // namespace korvex
