#include "platform/recovery/CacheFolderCheck.h"

#include "platform/UserFolders.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <set>
#include <utility>

namespace korvex::platform {

namespace {

using Id = std::pair<dev_t, ino_t>;

std::string refusal(const std::string& folder, const std::string& why) {
    return "The cache folder \"" + folder + "\" is not emptied: " + why;
}

// The home folder and every folder above it, by the path as given and as
// the links in it resolve.
std::set<Id> homeAndAbove(const std::string& home) {
    std::set<Id> ids;
    auto addWithParents = [&](std::string path) {
        while (!path.empty()) {
            struct stat info {};
            if (::stat(path.c_str(), &info) == 0) {
                ids.emplace(info.st_dev, info.st_ino);
            }
            const std::size_t slash = path.find_last_of('/');
            if (slash == std::string::npos || path == "/") {
                break;
            }
            path = slash == 0 ? "/" : path.substr(0, slash);
        }
    };
    addWithParents(home);
    char resolved[PATH_MAX];
    if (::realpath(home.c_str(), resolved) != nullptr) {
        addWithParents(resolved);
    }
    return ids;
}

}  // namespace

CacheFolderOwner CacheFolderOwner::current() {
    return {UserFolders::current().home(), ::getuid()};
}

std::variant<UniqueFd, CacheFolderMissing, std::string> openCacheFolderToEmpty(
    const std::string& folder, const CacheFolderOwner& owner) {
    if (folder.empty() || folder[0] != '/') {
        return refusal(folder, "it is not an absolute path.");
    }
    UniqueFd current(::open("/", O_PATH | O_DIRECTORY | O_CLOEXEC));
    std::string reached;
    for (std::size_t start = 1; start <= folder.size();) {
        std::size_t end = folder.find('/', start);
        if (end == std::string::npos) {
            end = folder.size();
        }
        const std::string part = folder.substr(start, end - start);
        start = end + 1;
        if (part.empty() || part == ".") {
            continue;
        }
        if (part == "..") {
            return refusal(folder, "its path climbs with \"..\".");
        }
        reached += "/" + part;
        UniqueFd next(::openat(current.get(), part.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC));
        if (!next.valid()) {
            if (errno == ENOENT) {
                return CacheFolderMissing{};
            }
            return refusal(folder,
                           std::string("it cannot be examined (") + std::strerror(errno) + ").");
        }
        struct stat info {};
        if (::fstat(next.get(), &info) != 0) {
            return refusal(folder, std::strerror(errno));
        }
        if (S_ISLNK(info.st_mode)) {
            return refusal(folder, "its path goes through the symbolic link \"" + reached + "\".");
        }
        if (!S_ISDIR(info.st_mode)) {
            return refusal(folder, "\"" + reached + "\" is not a folder.");
        }
        current = std::move(next);
    }
    struct stat info {};
    struct stat root {};
    if (::fstat(current.get(), &info) != 0 || ::stat("/", &root) != 0) {
        return refusal(folder, std::strerror(errno));
    }
    const Id id{info.st_dev, info.st_ino};
    if (id == Id{root.st_dev, root.st_ino}) {
        return refusal(folder, "it is the root folder.");
    }
    const std::set<Id> protectedIds = homeAndAbove(owner.home);
    struct stat home {};
    if (::stat(owner.home.c_str(), &home) == 0 && id == Id{home.st_dev, home.st_ino}) {
        return refusal(folder, "it is your home folder.");
    }
    if (protectedIds.count(id) != 0) {
        return refusal(folder, "it holds your home folder.");
    }
    if (info.st_uid != owner.uid) {
        return refusal(folder, "it belongs to another user.");
    }
    UniqueFd readable(::openat(current.get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!readable.valid()) {
        return refusal(folder, std::string("it cannot be read (") + std::strerror(errno) + ").");
    }
    return readable;
}

}  // namespace korvex::platform
