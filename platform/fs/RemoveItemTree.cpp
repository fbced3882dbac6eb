#include "platform/fs/RemoveItemTree.h"

#include "platform/fs/EntryWalk.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace korvex::platform {

namespace {

constexpr mode_t kOwnerAll = S_IRWXU;

void openUp(int parentFd, const std::string& name, const struct stat& info) {
    if ((info.st_mode & kOwnerAll) != kOwnerAll) {
        // Refused for folders of other users; the removal then reports why.
        ::fchmodat(parentFd, name.c_str(), (info.st_mode & 07777) | kOwnerAll, 0);
    }
}

}  // namespace

std::optional<FileOpFailure> removeItemTree(const std::string& path) {
    const std::string what = "Could not remove " + quotedPath(path);
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) {
        return systemFailure(errno, what);
    }
    if (S_ISDIR(info.st_mode)) {
        openUp(AT_FDCWD, path, info);
        int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0) {
            return systemFailure(errno, what);
        }
        int firstError = 0;
        const int walkError = forEachEntryBelow(
            fd, info.st_dev,
            [&](int parentFd, const std::string& name, const struct stat& entry) {
                const int flags = S_ISDIR(entry.st_mode) ? AT_REMOVEDIR : 0;
                if (::unlinkat(parentFd, name.c_str(), flags) != 0 && errno != ENOENT &&
                    firstError == 0) {
                    firstError = errno;
                }
            },
            openUp);
        ::close(fd);
        if (walkError != 0 || firstError != 0) {
            return systemFailure(walkError != 0 ? walkError : firstError, what);
        }
        if (::rmdir(path.c_str()) != 0) {
            return systemFailure(errno, what);
        }
        return std::nullopt;
    }
    if (::unlink(path.c_str()) != 0) {
        return systemFailure(errno, what);
    }
    return std::nullopt;
}

}  // namespace korvex::platform
