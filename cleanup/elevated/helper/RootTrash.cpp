#include "cleanup/elevated/helper/RootTrash.h"

#include "cleanup/elevated/helper/ItemUnlock.h"
#include "platform/fs/PercentEncoding.h"
#include "platform/trash/TrashInfoFile.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <stdio.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>

namespace korvex::elevated {

namespace {

// Enough for any real run of same-named items.
constexpr unsigned kNameAttempts = 100000;

ItemOutcome refused(const WalkFailure& failure) {
    return {failure.error, failure.message};
}

std::string joined(const std::vector<std::string>& names, std::size_t from) {
    std::string path;
    for (std::size_t i = from; i < names.size(); ++i) {
        path += (i == from ? "" : "/") + names[i];
    }
    return path;
}

bool isStickyFolder(int parent, const char* name) {
    struct stat status {};
    return ::fstatat(parent, name, &status, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(status.st_mode) &&
           (status.st_mode & S_ISVTX) != 0;
}

}  // namespace

std::variant<RootTrash::TrashFolders, WalkFailure> RootTrash::foldersInside(
    platform::UniqueFd trash, const std::string& shown) {
    TrashFolders folders;
    struct stat status {};
    ::fstat(trash.get(), &status);
    folders.device = status.st_dev;
    auto files = openOwnedFolder(trash.get(), "files", mRequester, shown + "/files");
    if (auto* failed = std::get_if<WalkFailure>(&files)) {
        return *failed;
    }
    auto info = openOwnedFolder(trash.get(), "info", mRequester, shown + "/info");
    if (auto* failed = std::get_if<WalkFailure>(&info)) {
        return *failed;
    }
    folders.files = std::move(std::get<platform::UniqueFd>(files));
    folders.info = std::move(std::get<platform::UniqueFd>(info));
    return folders;
}

std::variant<RootTrash::TrashFolders, WalkFailure> RootTrash::homeTrashFolders() {
    auto components = plainComponents(mHomeTrash);
    if (!components) {
        return WalkFailure{EINVAL, "The home Trash \"" + mHomeTrash + "\" is not a plain path."};
    }
    // Down to the Trash's parent: existing folders may be anyone's but never
    // links; missing ones are made only inside a folder of the user's own.
    platform::UniqueFd folder(::open("/", O_PATH | O_DIRECTORY | O_CLOEXEC));
    bool insideOwn = false;
    std::string shown;
    for (std::size_t i = 0; i + 1 < components->size(); ++i) {
        const std::string& name = (*components)[i];
        shown += "/" + name;
        platform::UniqueFd next(
            ::openat(folder.get(), name.c_str(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        if (!next.valid() && errno == ENOENT && insideOwn) {
            auto made = openOwnedFolder(folder.get(), name, mRequester, shown);
            if (auto* failed = std::get_if<WalkFailure>(&made)) {
                return *failed;
            }
            next = std::move(std::get<platform::UniqueFd>(made));
        }
        if (!next.valid()) {
            return WalkFailure{errno, "The folder \"" + shown +
                                          "\" of the home Trash cannot be used (a link, or "
                                          "missing): " +
                                          std::strerror(errno)};
        }
        struct stat status {};
        ::fstat(next.get(), &status);
        insideOwn = status.st_uid == mRequester.uid;
        folder = std::move(next);
    }
    auto trash = openOwnedFolder(folder.get(), components->back(), mRequester, mHomeTrash);
    if (auto* failed = std::get_if<WalkFailure>(&trash)) {
        return *failed;
    }
    return foldersInside(std::move(std::get<platform::UniqueFd>(trash)), mHomeTrash);
}

std::variant<RootTrash::TrashFolders, WalkFailure> RootTrash::volumeTrashFolders(
    const WalkedItem& item, std::size_t top) {
    const int topFd = item.folders[top].get();
    const std::string topPath =
        "/" + joined(std::vector<std::string>(item.names.begin(), item.names.begin() + top), 0);
    const std::string uid = std::to_string(mRequester.uid);
    const std::string shared = (topPath == "/" ? "" : topPath) + "/.Trash";
    if (isStickyFolder(topFd, ".Trash")) {
        platform::UniqueFd sharedFd(
            ::openat(topFd, ".Trash", O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        if (sharedFd.valid()) {
            auto own = openOwnedFolder(sharedFd.get(), uid, mRequester, shared + "/" + uid);
            if (auto* opened = std::get_if<platform::UniqueFd>(&own)) {
                auto folders = foldersInside(std::move(*opened), shared + "/" + uid);
                if (auto* ready = std::get_if<TrashFolders>(&folders)) {
                    ready->topIndex = top;
                    return folders;
                }
            }
        }
    }
    const std::string single = shared + "-" + uid;
    auto own = openOwnedFolder(topFd, ".Trash-" + uid, mRequester, single);
    if (auto* failed = std::get_if<WalkFailure>(&own)) {
        return *failed;
    }
    auto folders = foldersInside(std::move(std::get<platform::UniqueFd>(own)), single);
    if (auto* ready = std::get_if<TrashFolders>(&folders)) {
        ready->topIndex = top;
    }
    return folders;
}

ItemOutcome RootTrash::trash(const TargetItem& target) {
    auto walked = walkToCollectedItem(target);
    if (auto* failed = std::get_if<WalkFailure>(&walked)) {
        return refused(*failed);
    }
    const WalkedItem& item = std::get<WalkedItem>(walked);
    if (!mHome) {
        mHome = homeTrashFolders();
    }
    if (auto* home = std::get_if<TrashFolders>(&*mHome);
        home && home->device == item.status.st_dev) {
        return moveInto(item, target, *home);
    }
    // The volume's top folder: the highest folder on the way that is on the
    // item's file system.
    std::size_t top = item.folders.size();
    while (top > 0 && item.folderStatus[top - 1].st_dev == item.status.st_dev) {
        --top;
    }
    if (top == item.folders.size()) {
        return {EXDEV, "\"" + target.path +
                           "\" is the top folder of its volume, which has no Trash "
                           "of its own."};
    }
    if (auto* home = std::get_if<WalkFailure>(&*mHome); home && top == 0) {
        // On the home's file system after all, whose Trash cannot be used.
        return refused(*home);
    }
    auto volume = volumeTrashFolders(item, top);
    if (auto* failed = std::get_if<WalkFailure>(&volume)) {
        return {failed->error,
                "\"" + target.path + "\" has no usable Trash on its volume: " + failed->message};
    }
    return moveInto(item, target, std::get<TrashFolders>(volume));
}

ItemOutcome RootTrash::moveInto(const WalkedItem& item, const TargetItem& target,
                                const TrashFolders& folders) {
    const std::string original =
        folders.topIndex ? joined(item.names, *folders.topIndex) : "/" + joined(item.names, 0);
    const std::string text =
        platform::trashInfoText(platform::percentEncodePath(original), std::time(nullptr));
    const bool isFolder = S_ISDIR(item.status.st_mode);
    ItemUnlock unlock(item);
    for (unsigned attempt = 0; attempt < kNameAttempts; ++attempt) {
        const std::string candidate = platform::numberedTrashName(item.name(), isFolder, attempt);
        const std::string infoName = candidate + ".trashinfo";
        struct stat taken {};
        if (::fstatat(folders.files.get(), candidate.c_str(), &taken, AT_SYMLINK_NOFOLLOW) == 0) {
            continue;
        }
        const platform::TrashInfoReservation reserved =
            platform::reserveTrashInfoAt(folders.info.get(), infoName, text);
        if (reserved.error == EEXIST) {
            continue;
        }
        if (reserved.error != 0) {
            return {reserved.error,
                    "The Trash information of \"" + target.path +
                        "\" could not be written: " + std::strerror(reserved.error)};
        }
        ::fchownat(folders.info.get(), infoName.c_str(), mRequester.uid, mRequester.gid,
                   AT_SYMLINK_NOFOLLOW);
        if (::renameat2(item.parent(), item.name().c_str(), folders.files.get(), candidate.c_str(),
                        RENAME_NOREPLACE) != 0) {
            const int error = errno;
            ::unlinkat(folders.info.get(), infoName.c_str(), 0);
            if (error == EEXIST) {
                continue;
            }
            return {error, "\"" + target.path +
                               "\" could not be moved to the Trash: " + std::strerror(error)};
        }
        // The name was renamed, not the walked file: had the entry been
        // swapped in the moment between, the stranger goes back.
        struct stat moved {};
        if (::fstatat(folders.files.get(), candidate.c_str(), &moved, AT_SYMLINK_NOFOLLOW) != 0 ||
            moved.st_dev != target.device || moved.st_ino != target.inode) {
            ::renameat2(folders.files.get(), candidate.c_str(), item.parent(), item.name().c_str(),
                        RENAME_NOREPLACE);
            ::unlinkat(folders.info.get(), infoName.c_str(), 0);
            return {ESTALE, "\"" + target.path +
                                "\" was replaced while it was being moved, so it was left alone."};
        }
        unlock.itemGone();
        // No "directorysizes" line: the cache is optional, and readers
        // measure a trashed folder that has none.
        return {};
    }
    return {EEXIST, "The Trash has no free name for \"" + target.path + "\"."};
}

}  // namespace korvex::elevated
