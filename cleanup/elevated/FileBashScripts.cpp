#include "cleanup/elevated/FileBashScripts.h"

#include "cleanup/elevated/ShellPathUtil.h"
#include "platform/fs/InodeFlags.h"

#include <filesystem>

namespace korvex {

namespace {

// The attribute lines for one path: "chattr -i" for an immutable file,
// "chattr -a" for an append-only one (the two locks of Linux file systems).
std::string unlockLines(const std::string& path) {
    std::string lines;
    if (auto flags = platform::inodeFlags(path)) {
        if (flags->immutable) {
            lines += "chattr -i " + ShellPathUtil::shelledPath(path) + "\n";
        }
        if (flags->appendOnly) {
            lines += "chattr -a " + ShellPathUtil::shelledPath(path) + "\n";
        }
    }
    return lines;
}

}  // namespace

std::string RemovePermanentlyBashScript::buildScript() const {
    std::string text;
    for (const std::string& path : paths()) {
        const std::string parent = std::filesystem::path(path).parent_path().string();
        if (!parent.empty() && parent != path) {
            text += unlockLines(parent);
        }
        text += unlockLines(path);
        text += "rm -rf " + ShellPathUtil::shelledPath(path) + "\n";
    }
    return text;
}

std::string UnlockSystemLockedFilesScript::buildScript() const {
    std::string list;
    for (const std::string& path : paths()) {
        list += ShellPathUtil::shelledPath(path) + " ";
    }
    return "chattr -i " + list + "\nchattr -a " + list;
}

std::string MoveFileUsingShellBashScript::buildScript() const {
    return "cp -a " + ShellPathUtil::shelledPath(mFromPath) + " " +
           ShellPathUtil::shelledPath(mToPath);
}

}  // namespace korvex
