#include "platform/trash/FreedesktopTrash.h"

#include "platform/UserFolders.h"
#include "platform/fs/AllocatedTreeSize.h"
#include "platform/fs/NoReplaceRename.h"
#include "platform/fs/PathNames.h"
#include "platform/fs/PercentEncoding.h"
#include "platform/fs/RemovalFacts.h"
#include "platform/mounts/MountTable.h"
#include "platform/trash/DirectorySizesCache.h"
#include "platform/trash/TrashInfoFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <ctime>
#include <filesystem>

namespace korvex::platform {

namespace {

// Enough for any real run of same-named items; beyond it the trash is refused
// rather than searched for ever.
constexpr unsigned kNameAttempts = 100000;

std::string join(const std::string& folder, const std::string& name) {
    return folder == "/" ? "/" + name : folder + "/" + name;
}

std::string parentOf(const std::string& path) {
    const std::string parent = std::filesystem::path(path).parent_path().string();
    return parent.empty() ? "." : parent;
}

bool exists(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

// Makes `path` a private folder when missing (its parents too, when asked).
// Answers 0 when a folder that is not a link is there now, and on a volume
// one that `uid` owns: a folder someone else made there must not receive
// this user's files. The home trash and its parents lie in the user's home.
int ensureOwnFolder(const std::string& path, unsigned uid, bool withParents) {
    if (::mkdir(path.c_str(), S_IRWXU) != 0) {
        if (errno == ENOENT && withParents && path != "/") {
            if (int error = ensureOwnFolder(parentOf(path), uid, true); error != 0) {
                return error;
            }
            return ensureOwnFolder(path, uid, false);
        }
        if (errno != EEXIST) {
            return errno;
        }
    }
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) {
        return errno;
    }
    if (!S_ISDIR(info.st_mode)) {
        return ENOTDIR;
    }
    return info.st_uid == uid || withParents ? 0 : EPERM;
}

// A trash folder with its files/ and info/ ready; 0 or the error number.
int prepareTrashFolder(const std::string& folder, unsigned uid, bool withParents) {
    for (const std::string& path : {folder, folder + "/files", folder + "/info"}) {
        if (int error = ensureOwnFolder(path, uid, withParents && path == folder); error != 0) {
            return error;
        }
    }
    return 0;
}

// The device of the file system that holds (or would hold) `path`.
std::optional<dev_t> deviceOfNearestExisting(std::string path) {
    struct stat info {};
    while (::stat(path.c_str(), &info) != 0) {
        if (errno != ENOENT || path == "/" || path == ".") {
            return std::nullopt;
        }
        path = parentOf(path);
    }
    return info.st_dev;
}

// The absolute path of the entry itself: its folder resolved, its name kept,
// so that a link is the link and not what it points to.
std::variant<std::string, int> resolvedEntryPath(const std::string& path) {
    const std::string name(lastPathComponent(path));
    if (name == "/" || name == "." || name == "..") {
        return EINVAL;
    }
    char folder[PATH_MAX];
    if (::realpath(parentOf(path).c_str(), folder) == nullptr) {
        return errno;
    }
    return join(folder, name);
}

std::string pathBelow(const std::string& top, const std::string& path) {
    if (path == top) {
        return {};
    }
    return path.substr(top == "/" ? 1 : top.size() + 1);
}

}  // namespace

FreedesktopTrash FreedesktopTrash::forCurrentUser() {
    return FreedesktopTrash(UserFolders::current().trash(), ::getuid());
}

FreedesktopTrash::FreedesktopTrash(std::string homeTrashFolder, unsigned uid)
    : mHomeTrashFolder(std::move(homeTrashFolder)), mUid(uid) {}

std::variant<FreedesktopTrash::Destination, FileOpFailure> FreedesktopTrash::volumeDestination(
    const std::string& top) const {
    const std::string uid = std::to_string(mUid);
    if (hasStickySharedTrash(top)) {
        const std::string own = join(join(top, ".Trash"), uid);
        if (prepareTrashFolder(own, mUid, false) == 0) {
            return Destination{own, top};
        }
    }
    const std::string single = join(top, ".Trash-" + uid);
    if (int error = prepareTrashFolder(single, mUid, false); error != 0) {
        return systemFailure(error, "The volume " + quotedPath(top) + " has no usable trash");
    }
    return Destination{single, top};
}

std::variant<FreedesktopTrash::Destination, FileOpFailure> FreedesktopTrash::destinationFor(
    const std::string& resolvedPath, dev_t device) const {
    if (deviceOfNearestExisting(mHomeTrashFolder) == device) {
        if (int error = prepareTrashFolder(mHomeTrashFolder, mUid, true); error != 0) {
            return systemFailure(error,
                                 "Could not make the trash folder " + quotedPath(mHomeTrashFolder));
        }
        return Destination{mHomeTrashFolder, {}};
    }
    auto volume = mountForPath(listMounts(), resolvedPath);
    if (!volume) {
        return systemFailure(ENOENT, "Could not find the volume of " + quotedPath(resolvedPath));
    }
    return volumeDestination(volume->mountPoint);
}

std::optional<std::string> FreedesktopTrash::trashFolderFor(const std::string& path) const {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) {
        return std::nullopt;
    }
    auto resolved = resolvedEntryPath(path);
    if (!std::holds_alternative<std::string>(resolved)) {
        return std::nullopt;
    }
    auto destination = destinationFor(std::get<std::string>(resolved), info.st_dev);
    if (!std::holds_alternative<Destination>(destination)) {
        return std::nullopt;
    }
    return std::get<Destination>(destination).folder;
}

FreedesktopTrash::Result FreedesktopTrash::trashItem(const std::string& path) const {
    const std::string what = "Could not move " + quotedPath(path) + " to the trash";
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) {
        return systemFailure(errno, what);
    }
    auto resolved = resolvedEntryPath(path);
    if (const int* error = std::get_if<int>(&resolved)) {
        return systemFailure(*error, what);
    }
    const std::string& original = std::get<std::string>(resolved);
    auto found = destinationFor(original, info.st_dev);
    if (auto* failure = std::get_if<FileOpFailure>(&found)) {
        return *failure;
    }
    const Destination& destination = std::get<Destination>(found);
    const std::string text = trashInfoText(
        percentEncodePath(
            destination.topFolder.empty() ? original : pathBelow(destination.topFolder, original)),
        std::time(nullptr));
    const std::string name(lastPathComponent(original));
    const bool isFolder = S_ISDIR(info.st_mode);

    for (unsigned attempt = 0; attempt < kNameAttempts; ++attempt) {
        const std::string candidate = numberedTrashName(name, isFolder, attempt);
        Trashed trashed{destination.folder + "/files/" + candidate,
                        destination.folder + "/info/" + candidate + ".trashinfo"};
        if (exists(trashed.filesPath)) {
            continue;
        }
        const TrashInfoReservation reserved = reserveTrashInfo(trashed.infoPath, text);
        if (reserved.error == EEXIST) {
            continue;
        }
        if (reserved.error != 0) {
            return systemFailure(reserved.error,
                                 "Could not write the trash information of " + quotedPath(path));
        }
        const int moved = renameWithoutReplacing(path, trashed.filesPath);
        if (moved != 0) {
            ::unlink(trashed.infoPath.c_str());
            if (moved == EEXIST) {
                continue;
            }
            return systemFailure(moved, what);
        }
        if (isFolder) {
            // The cache only spares readers a walk: an item trashed without
            // its line is still trashed, so its failures are not reported.
            if (auto size = allocatedTreeSize(trashed.filesPath)) {
                DirectorySizesCache(destination.folder).record(candidate, *size, reserved.modified);
            }
        }
        return trashed;
    }
    return systemFailure(EEXIST,
                         what + " (no free name in " + quotedPath(destination.folder) + ")");
}

}  // namespace korvex::platform
