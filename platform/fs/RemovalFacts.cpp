#include "platform/fs/RemovalFacts.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

namespace korvex::platform {

namespace {

std::optional<bool> accessAnswer(const std::string& path, int mode) {
    if (::faccessat(AT_FDCWD, path.c_str(), mode, AT_EACCESS | AT_SYMLINK_NOFOLLOW) == 0) {
        return true;
    }
    if (errno == EACCES || errno == EPERM) {
        return false;
    }
    return std::nullopt;
}

std::string parentOf(const std::string& path) {
    std::string parent = std::filesystem::path(path).parent_path().string();
    return parent.empty() ? "." : parent;
}

bool isWritableFolder(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
           ::faccessat(AT_FDCWD, path.c_str(), W_OK | X_OK, AT_EACCESS) == 0;
}

}  // namespace

std::optional<bool> isWritableByProcess(const std::string& path) {
    return accessAnswer(path, W_OK);
}

std::optional<bool> processMayDelete(const std::string& path) {
    const std::string parent = parentOf(path);
    struct stat item {};
    struct stat folder {};
    if (::lstat(path.c_str(), &item) != 0 || ::stat(parent.c_str(), &folder) != 0) {
        return std::nullopt;
    }
    const std::optional<bool> folderOpen = accessAnswer(parent, W_OK | X_OK);
    if (!folderOpen || !*folderOpen) {
        return folderOpen;
    }
    if ((folder.st_mode & S_ISVTX) != 0) {
        const uid_t me = ::geteuid();
        return me == 0 || item.st_uid == me || folder.st_uid == me;
    }
    return true;
}

std::optional<bool> isOnReadOnlyFileSystem(const std::string& path) {
    struct statvfs info {};
    if (::statvfs(path.c_str(), &info) != 0 && ::statvfs(parentOf(path).c_str(), &info) != 0) {
        return std::nullopt;
    }
    return (info.f_flag & ST_RDONLY) != 0;
}

bool hasStickySharedTrash(const std::string& top) {
    struct stat info {};
    return ::lstat((top + "/.Trash").c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
           (info.st_mode & S_ISVTX) != 0;
}

bool volumeHasUsableTrash(const std::string& top, unsigned uid) {
    const std::string shared = top + "/.Trash";
    struct stat info {};
    if (hasStickySharedTrash(top)) {
        const std::string own = shared + "/" + std::to_string(uid);
        if (isWritableFolder(own) ||
            (::lstat(own.c_str(), &info) != 0 && isWritableFolder(shared))) {
            return true;
        }
    }
    const std::string single = top + "/.Trash-" + std::to_string(uid);
    if (::lstat(single.c_str(), &info) == 0) {
        return isWritableFolder(single);
    }
    return isWritableFolder(top);
}

}  // namespace korvex::platform
