#include "platform/fs/NoReplaceRename.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace korvex::platform {

namespace {

bool sameEntry(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// 0 or the error; EEXIST when the name is taken.
int linkInstead(int fromFd, const std::string& from, int toFd, const std::string& to) {
    if (::linkat(fromFd, from.c_str(), toFd, to.c_str(), 0) != 0) {
        return errno;
    }
    if (::unlinkat(fromFd, from.c_str(), 0) != 0) {
        const int error = errno;
        // The new link is this call's own while it is the same entry as the source.
        struct stat source {};
        struct stat linked {};
        if (::fstatat(fromFd, from.c_str(), &source, AT_SYMLINK_NOFOLLOW) == 0 &&
            ::fstatat(toFd, to.c_str(), &linked, AT_SYMLINK_NOFOLLOW) == 0 &&
            sameEntry(source, linked)) {
            ::unlinkat(toFd, to.c_str(), 0);
        }
        return error;
    }
    return 0;
}

int reserveAndRename(int fromFd, const std::string& from, int toFd, const std::string& to,
                     bool folder) {
    if (folder) {
        if (::mkdirat(toFd, to.c_str(), S_IRWXU) != 0) {
            return errno;
        }
    } else {
        const int fd =
            ::openat(toFd, to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0);
        if (fd < 0) {
            return errno;
        }
        ::close(fd);
    }
    struct stat reserved {};
    if (::fstatat(toFd, to.c_str(), &reserved, AT_SYMLINK_NOFOLLOW) != 0) {
        return errno;
    }
    if (::renameat(fromFd, from.c_str(), toFd, to.c_str()) == 0) {
        return 0;
    }
    const int error = errno;
    // Only the empty entry made above goes; a folder that something was put
    // into meanwhile refuses rmdir and stays.
    struct stat now {};
    if (::fstatat(toFd, to.c_str(), &now, AT_SYMLINK_NOFOLLOW) == 0 && sameEntry(now, reserved) &&
        (folder || now.st_size == 0)) {
        ::unlinkat(toFd, to.c_str(), folder ? AT_REMOVEDIR : 0);
    }
    return error == ENOTEMPTY ? EEXIST : error;
}

}  // namespace

int renameAtWithoutReplacingByReserving(int fromFd, const std::string& from, int toFd,
                                        const std::string& to) {
    struct stat info {};
    if (::fstatat(fromFd, from.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
        return errno;
    }
    const bool folder = S_ISDIR(info.st_mode);
    if (!folder) {
        const int linked = linkInstead(fromFd, from, toFd, to);
        // EPERM, EOPNOTSUPP, EMLINK: no second link here; reserve instead.
        if (linked == 0 || linked == EEXIST || linked == EXDEV || linked == ENOENT ||
            linked == ENOSPC || linked == EROFS || linked == EACCES) {
            return linked;
        }
    }
    return reserveAndRename(fromFd, from, toFd, to, folder);
}

int renameAtWithoutReplacing(int fromFd, const std::string& from, int toFd, const std::string& to) {
    if (::renameat2(fromFd, from.c_str(), toFd, to.c_str(), RENAME_NOREPLACE) == 0) {
        return 0;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        return errno;
    }
    return renameAtWithoutReplacingByReserving(fromFd, from, toFd, to);
}

int renameWithoutReplacing(const std::string& from, const std::string& to) {
    return renameAtWithoutReplacing(AT_FDCWD, from, AT_FDCWD, to);
}

}  // namespace korvex::platform
