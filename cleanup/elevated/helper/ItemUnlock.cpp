#include "cleanup/elevated/helper/ItemUnlock.h"

#include "cleanup/elevated/helper/LockFlags.h"

#include <fcntl.h>

namespace korvex::elevated {

namespace {

// Opens an entry for reading the attributes, only when it is a plain file or
// folder: opening a device or a pipe could have effects of its own. The
// descriptor must still name the walked file.
platform::UniqueFd openForFlags(int parent, const std::string& name, const struct stat& expected) {
    if (!S_ISREG(expected.st_mode) && !S_ISDIR(expected.st_mode)) {
        return {};
    }
    platform::UniqueFd fd(::openat(parent, name.c_str(),
                                   O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC |
                                       (S_ISDIR(expected.st_mode) ? O_DIRECTORY : 0)));
    struct stat status {};
    if (!fd.valid() || ::fstat(fd.get(), &status) != 0 || status.st_dev != expected.st_dev ||
        status.st_ino != expected.st_ino) {
        return {};
    }
    return fd;
}

}  // namespace

ItemUnlock::ItemUnlock(const WalkedItem& item) {
    mItem = openForFlags(item.parent(), item.name(), item.status);
    if (mItem.valid()) {
        mItemFlags = clearLockFlags(mItem.get());
    }
    const std::size_t count = item.folders.size();
    if (count >= 2) {
        mParent = openForFlags(item.folders[count - 2].get(), item.names[count - 2],
                               item.folderStatus[count - 1]);
        if (mParent.valid()) {
            mParentFlags = clearLockFlags(mParent.get());
        }
    }
}

ItemUnlock::~ItemUnlock() {
    if (mItemFlags) {
        restoreLockFlags(mItem.get(), *mItemFlags);
    }
    if (mParentFlags) {
        restoreLockFlags(mParent.get(), *mParentFlags);
    }
}

}  // namespace korvex::elevated
