#pragma once

#include "cleanup/removers/FinderRemover.h"

namespace korvex {

// Moves the items to the Trash of the user who asked, each with its
// ".trashinfo".
//
// The password prompt is the authentication agent's own dialog, which polkit
// raises above every window by itself; there is no separate agent process to
// bring forward as there is on systems whose prompt belongs to another
// application, so this remover keeps no such state.
class FinderRemoverToTrash : public FinderRemover {
  public:
    using FinderRemover::FinderRemover;

  protected:
    BashScriptRef removalScript(const std::vector<std::string>& paths) const override;
};

}  // namespace korvex
