#include "cleanup/removers/FinderRemoverPermanent.h"

#include "cleanup/elevated/FileBashScripts.h"

namespace korvex {

BashScriptRef FinderRemoverPermanent::removalScript(const std::vector<std::string>& paths) const {
    return std::make_shared<RemovePermanentlyBashScript>(paths);
}

}  // namespace korvex
