#include "cleanup/removers/RefusedRemovalItem.h"

#include "platform/fs/InodeFlags.h"
#include "platform/fs/RemovalFacts.h"
#include "platform/mounts/MountTable.h"
#include "scan/format/PathsGenerator.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace korvex {

namespace {

bool isLocked(const std::optional<platform::InodeFlags>& flags) {
    // Both attributes stop an entry from being removed, and only
    // administrator rights clear them.
    return flags && (flags->immutable || flags->appendOnly);
}

bool containsNtfs(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text.find("ntfs") != std::string::npos;
}

// The volume's Trash is the home Trash when the item is on the file system
// that holds it (the freedesktop.org rule), else the volume's own.
bool isOnHomeTrashVolume(const platform::MountEntry& volume,
                         const std::vector<platform::MountEntry>& mounts) {
    auto home = platform::mountForPath(mounts, PathsGenerator::GetInstance().buildTrashDirectory());
    return home && home->mountPoint == volume.mountPoint;
}

}  // namespace

RefusedRemovalItem::RefusedRemovalItem(std::optional<std::string> path) : mPath(std::move(path)) {
    if (mPath) {
        classify(*mPath);
    }
    mRemoveGroupType = groupForErrorTypes(mErrorTypes);
}

void RefusedRemovalItem::classify(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) {
        return;
    }
    mIdentity = FileIdentity{info.st_dev, info.st_ino};
    const bool isFolder = S_ISDIR(info.st_mode);
    const std::string parent = std::filesystem::path(path).parent_path().string();

    if (platform::processMayDelete(path) == false) {
        mErrorTypes.insert(RemoveErrorType::HaventRightToDelete);
    }

    const std::vector<platform::MountEntry> mounts = platform::listMounts();
    if (auto volume = platform::mountForPath(mounts, path)) {
        if (volume->mountPoint != "/" && !isOnHomeTrashVolume(*volume, mounts) &&
            !platform::volumeHasUsableTrash(volume->mountPoint, ::getuid())) {
            mErrorTypes.insert(RemoveErrorType::DiskHasntTrash);
        }
        if (platform::isOnReadOnlyFileSystem(path) == true) {
            mErrorTypes.insert(RemoveErrorType::ReadOnlyDisk);
            if (containsNtfs(volume->fsType)) {
                mErrorTypes.insert(RemoveErrorType::ReadOnlyNTFSDisk);
            }
        }
        if (platform::isNetworkFileSystem(volume->fsType)) {
            mErrorTypes.insert(RemoveErrorType::RemoteDisk);
        }
    }

    // Symbolic links carry no attributes of their own.
    if (!S_ISLNK(info.st_mode) && isLocked(platform::inodeFlags(path))) {
        mErrorTypes.insert(RemoveErrorType::FileLocked);
    }
    if (isFolder && platform::isWritableByProcess(path) == false) {
        mErrorTypes.insert(RemoveErrorType::FolderHasReadOnlyAccess);
    }
    // FolderWithHardLink never arises here: Linux refuses hard links to
    // folders, and a folder's link count only counts its subfolders.

    if (!parent.empty() && parent != path) {
        if (isLocked(platform::inodeFlags(parent))) {
            mErrorTypes.insert(RemoveErrorType::ParentFolderLocked);
        }
        if (platform::isWritableByProcess(parent) == false) {
            mErrorTypes.insert(RemoveErrorType::ParentFolderHasReadOnlyAccess);
        }
    }
}

GroupType RefusedRemovalItem::groupForErrorTypes(const std::set<RemoveErrorType>& types) {
    const auto has = [&types](RemoveErrorType type) { return types.count(type) != 0; };
    if (has(RemoveErrorType::ReadOnlyDisk)) {
        return has(RemoveErrorType::ReadOnlyNTFSDisk) ? GroupType::ReadOnlyNTFSDisk
                                                      : GroupType::ReadOnlyDisk;
    }
    if (has(RemoveErrorType::RemoteDisk)) {
        return GroupType::NetworkDisk;
    }
    if (has(RemoveErrorType::FolderWithHardLink)) {
        return GroupType::HardLinkFolder;
    }
    if (has(RemoveErrorType::FileLocked) || has(RemoveErrorType::ParentFolderLocked)) {
        return GroupType::LockedFiles;
    }
    if (has(RemoveErrorType::DiskHasntTrash) ||
        has(RemoveErrorType::ParentFolderHasReadOnlyAccess) ||
        has(RemoveErrorType::FolderHasReadOnlyAccess)) {
        return GroupType::ReadOnlyAccess;
    }
    if (has(RemoveErrorType::HaventRightToDelete)) {
        return GroupType::HaventRightToDelete;
    }
    return GroupType::Unknown;
}

bool RefusedRemovalItem::isCanBeRemovedPermanently(GroupType group, bool permanently) {
    switch (group) {
        case GroupType::ReadOnlyAccess:
        case GroupType::LockedFiles:
        case GroupType::HaventRightToDelete:
            return true;
        case GroupType::HardLinkFolder:
        case GroupType::NetworkDisk:
        case GroupType::Unknown:
            return permanently;
        case GroupType::ReadOnlyNTFSDisk:
        case GroupType::ReadOnlyDisk:
        case GroupType::NotRemoved:
            return false;
    }
    return true;
}

}  // namespace korvex
