#include "cleanup/elevated/helper/SafeWalk.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace korvex::elevated {

namespace {

WalkFailure failure(int error, std::string message) {
    return {error, std::move(message)};
}

std::string systemWords(int error) {
    return std::strerror(error);
}

}  // namespace

std::optional<std::vector<std::string>> plainComponents(const std::string& path) {
    if (path.empty() || path.front() != '/') {
        return std::nullopt;
    }
    std::vector<std::string> components;
    std::size_t start = 1;
    while (start <= path.size()) {
        const std::size_t end = std::min(path.find('/', start), path.size());
        std::string name = path.substr(start, end - start);
        if (name == "." || name == "..") {
            return std::nullopt;
        }
        if (!name.empty()) {
            components.push_back(std::move(name));
        }
        start = end + 1;
    }
    if (components.empty()) {
        return std::nullopt;
    }
    return components;
}

std::variant<WalkedItem, WalkFailure> walkToCollectedItem(const TargetItem& target) {
    const std::string& path = target.path;
    auto components = plainComponents(path);
    if (!components) {
        return failure(EINVAL,
                       "\"" + path + "\" is not a plain absolute path, so it was left alone.");
    }
    WalkedItem walked;
    platform::UniqueFd root(::open("/", O_PATH | O_DIRECTORY | O_CLOEXEC));
    struct stat status {};
    if (!root.valid() || ::fstat(root.get(), &status) != 0) {
        return failure(errno, "The root folder could not be opened: " + systemWords(errno));
    }
    walked.folders.push_back(std::move(root));
    walked.folderStatus.push_back(status);
    for (std::size_t i = 0; i + 1 < components->size(); ++i) {
        const std::string& name = (*components)[i];
        platform::UniqueFd next(
            ::openat(walked.parent(), name.c_str(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        if (!next.valid()) {
            const int error = errno;
            struct stat entry {};
            if ((error == ENOTDIR || error == ELOOP) &&
                ::fstatat(walked.parent(), name.c_str(), &entry, AT_SYMLINK_NOFOLLOW) == 0 &&
                S_ISLNK(entry.st_mode)) {
                return failure(ELOOP, "The folder \"" + name + "\" on the way to \"" + path +
                                          "\" is now a symbolic link, so the item was left "
                                          "alone.");
            }
            if (error == ENOENT) {
                return failure(ENOENT, "\"" + path + "\" no longer exists.");
            }
            return failure(error, "The folder \"" + name + "\" on the way to \"" + path +
                                      "\" could not be opened: " + systemWords(error));
        }
        if (::fstat(next.get(), &status) != 0) {
            return failure(errno, "\"" + path + "\" could not be examined: " + systemWords(errno));
        }
        walked.folders.push_back(std::move(next));
        walked.folderStatus.push_back(status);
        walked.names.push_back(name);
    }
    walked.names.push_back(components->back());
    if (::fstatat(walked.parent(), walked.name().c_str(), &walked.status, AT_SYMLINK_NOFOLLOW) !=
        0) {
        const int error = errno;
        if (error == ENOENT) {
            return failure(ENOENT, "\"" + path + "\" no longer exists.");
        }
        return failure(error, "\"" + path + "\" could not be examined: " + systemWords(error));
    }
    if (walked.status.st_dev != target.device || walked.status.st_ino != target.inode) {
        return failure(ESTALE, "\"" + path +
                                   "\" is no longer the item that was collected (something else "
                                   "is at its place now), so it was left alone.");
    }
    return walked;
}

std::variant<platform::UniqueFd, WalkFailure> openOwnedFolder(int parent, const std::string& name,
                                                              const Requester& requester,
                                                              const std::string& shownPath) {
    const auto open = [&] {
        return platform::UniqueFd(
            ::openat(parent, name.c_str(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    };
    platform::UniqueFd folder = open();
    bool made = false;
    if (!folder.valid() && errno == ENOENT) {
        if (::mkdirat(parent, name.c_str(), S_IRWXU) != 0 && errno != EEXIST) {
            return failure(
                errno, "The folder \"" + shownPath + "\" could not be made: " + systemWords(errno));
        }
        folder = open();
        made = true;
    }
    if (!folder.valid()) {
        const int error = errno == ELOOP ? ENOTDIR : errno;
        return failure(
            error, "\"" + shownPath + "\" is not a folder that can be used: " + systemWords(error));
    }
    struct stat status {};
    if (::fstat(folder.get(), &status) != 0) {
        return failure(errno, "\"" + shownPath + "\" could not be examined: " + systemWords(errno));
    }
    if (made && status.st_uid == 0 && requester.uid != 0) {
        // Made by this helper a moment ago: it becomes the user's own.
        if (::fchownat(folder.get(), "", requester.uid, requester.gid, AT_EMPTY_PATH) != 0) {
            return failure(errno, "The folder \"" + shownPath +
                                      "\" could not be given to its user: " + systemWords(errno));
        }
        status.st_uid = requester.uid;
    }
    if (status.st_uid != requester.uid) {
        return failure(EPERM, "The folder \"" + shownPath +
                                  "\" belongs to another user, so nothing was put there.");
    }
    return folder;
}

}  // namespace korvex::elevated
