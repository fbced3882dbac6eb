#include "platform/fs/RemoveItemTree.h"

#include "platform/UniqueFd.h"
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

std::optional<FileOpFailure> removeItemTreeAt(int folderFd, const std::string& name,
                                              const std::string& shown) {
    const std::string what = "Could not remove " + quotedPath(shown);
    struct stat info {};
    if (::fstatat(folderFd, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
        return systemFailure(errno, what);
    }
    if (!S_ISDIR(info.st_mode)) {
        if (::unlinkat(folderFd, name.c_str(), 0) != 0) {
            return systemFailure(errno, what);
        }
        return std::nullopt;
    }
    openUp(folderFd, name, info);
    UniqueFd fd(::openat(folderFd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!fd.valid()) {
        return systemFailure(errno, what);
    }
    int firstError = 0;
    const int walkError = forEachEntryBelow(
        fd.get(), info.st_dev,
        [&](int parentFd, const std::string& entry, const struct stat& status) {
            const int flags = S_ISDIR(status.st_mode) ? AT_REMOVEDIR : 0;
            if (::unlinkat(parentFd, entry.c_str(), flags) != 0 && errno != ENOENT &&
                firstError == 0) {
                firstError = errno;
            }
        },
        openUp);
    fd.close();
    if (walkError != 0 || firstError != 0) {
        return systemFailure(walkError != 0 ? walkError : firstError, what);
    }
    if (::unlinkat(folderFd, name.c_str(), AT_REMOVEDIR) != 0) {
        return systemFailure(errno, what);
    }
    return std::nullopt;
}

std::optional<FileOpFailure> removeItemTree(const std::string& path) {
    return removeItemTreeAt(AT_FDCWD, path, path);
}

}  // namespace korvex::platform
