#include "platform/fs/EntryFacts.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace korvex::platform {

FolderDenial folderDenialAt(const std::string& path) {
    // The effective rights decide, as they did for the scan.
    if (::faccessat(AT_FDCWD, path.c_str(), R_OK, AT_EACCESS) != 0) {
        return FolderDenial::Unreadable;
    }
    if (::faccessat(AT_FDCWD, path.c_str(), X_OK, AT_EACCESS) != 0) {
        return FolderDenial::Unsearchable;
    }
    return FolderDenial::None;
}

std::uint32_t linkCountAt(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) {
        return 0;
    }
    return static_cast<std::uint32_t>(info.st_nlink);
}

}  // namespace korvex::platform
