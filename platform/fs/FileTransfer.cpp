#include "platform/fs/FileTransfer.h"

#include "platform/fs/CopyEntryTree.h"
#include "platform/fs/RemoveItemTree.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <filesystem>

namespace korvex::platform {

namespace {

bool exists(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

std::string canonicalOrEmpty(const std::string& path) {
    char resolved[PATH_MAX];
    return ::realpath(path.c_str(), resolved) != nullptr ? std::string(resolved) : std::string();
}

std::string parentOf(const std::string& path) {
    std::string parent = std::filesystem::path(path).parent_path().string();
    return parent.empty() ? "." : parent;
}

// A folder copied below itself would never stop growing.
bool targetIsInside(const std::string& folder, const std::string& target) {
    const std::string from = canonicalOrEmpty(folder);
    const std::string into = canonicalOrEmpty(parentOf(target));
    if (from.empty() || into.empty()) {
        return false;
    }
    return into == from || (into.size() > from.size() && into.compare(0, from.size(), from) == 0 &&
                            (from == "/" || into[from.size()] == '/'));
}

std::optional<FileOpFailure> checkCopyable(const std::string& source, const std::string& target,
                                           const char* verb) {
    struct stat info {};
    if (::lstat(source.c_str(), &info) != 0) {
        return systemFailure(errno, std::string("Could not ") + verb + " " + quotedPath(source));
    }
    if (exists(target)) {
        return systemFailure(EEXIST, std::string("Could not ") + verb + " " + quotedPath(source) +
                                         " to " + quotedPath(target));
    }
    if (S_ISDIR(info.st_mode) && targetIsInside(source, target)) {
        return systemFailure(EINVAL, std::string("Could not ") + verb + " the folder " +
                                         quotedPath(source) + " into itself");
    }
    return std::nullopt;
}

std::optional<FileOpFailure> copyWhole(const std::string& source, const std::string& target) {
    auto failed = copyEntryTree(source, target);
    if (failed) {
        // Only the copy's own entries are there: the target did not exist.
        if (exists(target)) {
            removeItemTree(target);
        }
    }
    return failed;
}

// The copy must be on disk before the only other instance goes; the target's
// folder lies on the target's file system.
int flushFileSystemOf(const std::string& path) {
    const int fd = ::open(parentOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return errno;
    }
    const int result = ::syncfs(fd) == 0 ? 0 : errno;
    ::close(fd);
    return result;
}

}  // namespace

int renameWithoutReplacing(const std::string& from, const std::string& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return 0;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        return errno;
    }
    // File systems without RENAME_NOREPLACE: check, then rename.
    if (exists(to)) {
        return EEXIST;
    }
    return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

std::optional<FileOpFailure> moveItem(const std::string& source, const std::string& target) {
    if (auto refused = checkCopyable(source, target, "move")) {
        return refused;
    }
    const int renamed = renameWithoutReplacing(source, target);
    if (renamed == 0) {
        return std::nullopt;
    }
    const std::string what = "Could not move " + quotedPath(source) + " to " + quotedPath(target);
    if (renamed != EXDEV) {
        return systemFailure(renamed, what);
    }
    if (auto failed = copyWhole(source, target)) {
        return failed;
    }
    if (int error = flushFileSystemOf(target); error != 0) {
        removeItemTree(target);
        return systemFailure(error, what);
    }
    if (auto failed = removeItemTree(source)) {
        // The complete copy stays: it may now be the only whole instance.
        return FileOpFailure{failed->errnoValue,
                             "Copied to " + quotedPath(target) +
                                 " but could not remove the original: " + failed->message};
    }
    return std::nullopt;
}

std::optional<FileOpFailure> copyItem(const std::string& source, const std::string& target) {
    if (auto refused = checkCopyable(source, target, "copy")) {
        return refused;
    }
    return copyWhole(source, target);
}

}  // namespace korvex::platform
