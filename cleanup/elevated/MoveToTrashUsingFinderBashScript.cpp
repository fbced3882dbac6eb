#include "cleanup/elevated/MoveToTrashUsingFinderBashScript.h"

#include "cleanup/elevated/ShellPathUtil.h"

namespace korvex {

std::string MoveToTrashUsingFinderBashScript::buildScript() const {
    std::string text = kReportErrorFunction;
    text += "filesToDelete=()\n";
    for (const std::string& path : paths()) {
        text += "filesToDelete+=(" + ShellPathUtil::shelledPath(path) + ")\n";
    }
    text +=
        "message=$(timeout 3600 gio trash -- \"${filesToDelete[@]}\" 2>&1) || "
        "reporterror \"$?\" \"$message\"\n";
    return text;
}

}  // namespace korvex
