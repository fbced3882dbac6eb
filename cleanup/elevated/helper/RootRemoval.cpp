#include "cleanup/elevated/helper/RootRemoval.h"

#include "cleanup/elevated/helper/ItemUnlock.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace korvex::elevated {

namespace {

// Why the tree below a folder was not removed whole; error 0 when it was.
struct TreeResult {
    int error = 0;
    std::string where;
};

TreeResult removeContents(int folder, dev_t device, const std::string& shown,
                          const std::function<bool()>& cancelled) {
    platform::UniqueFd listing(::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    DIR* entries = listing.valid() ? ::fdopendir(listing.get()) : nullptr;
    if (!entries) {
        return {errno, shown};
    }
    // The stream owns the descriptor now.
    listing.release();
    TreeResult result;
    while (const dirent* entry = ::readdir(entries)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..") {
            continue;
        }
        if (cancelled()) {
            result = {ECANCELED, shown};
            break;
        }
        struct stat status {};
        if (::fstatat(folder, name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0) {
            continue;  // gone already
        }
        const std::string path = shown + "/" + name;
        if (S_ISDIR(status.st_mode)) {
            if (status.st_dev != device) {
                result = {EXDEV, path};
                continue;
            }
            platform::UniqueFd below(
                ::openat(folder, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
            if (!below.valid()) {
                result = {errno, path};
                continue;
            }
            TreeResult inner = removeContents(below.get(), device, path, cancelled);
            if (inner.error == 0 && ::unlinkat(folder, name.c_str(), AT_REMOVEDIR) != 0) {
                inner = {errno, path};
            }
            if (inner.error != 0) {
                result = inner;
                if (inner.error == ECANCELED) {
                    break;
                }
            }
        } else if (::unlinkat(folder, name.c_str(), 0) != 0 && errno != ENOENT) {
            result = {errno, path};
        }
    }
    ::closedir(entries);
    return result;
}

}  // namespace

ItemOutcome removePermanently(const TargetItem& target, const std::function<bool()>& cancelled) {
    auto walked = walkToCollectedItem(target);
    if (auto* failed = std::get_if<WalkFailure>(&walked)) {
        return {failed->error, failed->message};
    }
    const WalkedItem& item = std::get<WalkedItem>(walked);
    ItemUnlock unlock(item);
    if (S_ISDIR(item.status.st_mode)) {
        platform::UniqueFd folder(::openat(item.parent(), item.name().c_str(),
                                           O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        struct stat status {};
        if (!folder.valid() || ::fstat(folder.get(), &status) != 0 ||
            status.st_ino != target.inode || status.st_dev != target.device) {
            return {ESTALE,
                    "\"" + target.path +
                        "\" was replaced while it was being removed, so it was left alone."};
        }
        const TreeResult tree = removeContents(folder.get(), status.st_dev, target.path, cancelled);
        if (tree.error == ECANCELED) {
            return {ECANCELED, "The removal of \"" + target.path +
                                   "\" was stopped; what is left of it stays."};
        }
        if (tree.error != 0) {
            return {tree.error,
                    "\"" + tree.where + "\" could not be removed: " + std::strerror(tree.error)};
        }
    }
    if (::unlinkat(item.parent(), item.name().c_str(),
                   S_ISDIR(item.status.st_mode) ? AT_REMOVEDIR : 0) != 0) {
        return {errno, "\"" + target.path + "\" could not be removed: " + std::strerror(errno)};
    }
    unlock.itemGone();
    return {};
}

}  // namespace korvex::elevated
