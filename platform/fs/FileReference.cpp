#include "platform/fs/FileReference.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include <utility>

namespace korvex::platform {

namespace {

bool sameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

}  // namespace

std::optional<FileReference> FileReference::open(const std::string& path) {
    const int fd = ::open(path.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        return std::nullopt;
    }
    return FileReference(fd);
}

FileReference::~FileReference() {
    if (mFd >= 0) {
        ::close(mFd);
    }
}

FileReference::FileReference(FileReference&& other) noexcept : mFd(std::exchange(other.mFd, -1)) {}

FileReference& FileReference::operator=(FileReference&& other) noexcept {
    if (this != &other) {
        if (mFd >= 0) {
            ::close(mFd);
        }
        mFd = std::exchange(other.mFd, -1);
    }
    return *this;
}

std::optional<std::string> FileReference::currentPath() const {
    // The kernel names the descriptor's file under /proc; an unlinked file
    // gets " (deleted)" appended, which a real name may also end in, so the
    // answer counts only when that entry is this very file.
    const std::string link = "/proc/self/fd/" + std::to_string(mFd);
    std::string target(256, '\0');
    while (true) {
        const ssize_t length = ::readlink(link.c_str(), target.data(), target.size());
        if (length < 0) {
            return std::nullopt;
        }
        if (static_cast<std::size_t>(length) < target.size()) {
            target.resize(static_cast<std::size_t>(length));
            break;
        }
        target.resize(target.size() * 2);
    }
    if (target.empty() || target.front() != '/' || !isAt(target)) {
        return std::nullopt;
    }
    return target;
}

bool FileReference::isAt(const std::string& path) const {
    struct stat mine {};
    struct stat there {};
    return ::fstat(mFd, &mine) == 0 && ::lstat(path.c_str(), &there) == 0 && sameFile(mine, there);
}

bool FileReference::hasLeft(const std::string& path) const {
    struct stat mine {};
    struct stat there {};
    if (::lstat(path.c_str(), &there) != 0) {
        return errno == ENOENT || errno == ENOTDIR;
    }
    return ::fstat(mFd, &mine) == 0 && !sameFile(mine, there);
}

}  // namespace korvex::platform
