#include "cleanup/removers/FinderRemoverToTrash.h"

#include "cleanup/elevated/MoveToTrashUsingShellBashScript.h"

namespace korvex {

BashScriptRef FinderRemoverToTrash::removalScript(const std::vector<std::string>& paths) const {
    return std::make_shared<MoveToTrashUsingShellBashScript>(paths, context().homeTrash,
                                                             context().uid);
}

}  // namespace korvex
