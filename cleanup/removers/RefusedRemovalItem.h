#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <string>

namespace korvex {

// One cause found on a path whose removal was refused.
enum class RemoveErrorType {
    ParentFolderHasReadOnlyAccess,
    ParentFolderLocked,
    FolderHasReadOnlyAccess,
    FileLocked,
    DiskHasntTrash,
    ReadOnlyDisk,
    RemoteDisk,
    ReadOnlyNTFSDisk,
    FolderWithHardLink,
    HaventRightToDelete,
};

// The one verdict drawn from the causes.
enum class GroupType {
    ReadOnlyAccess,
    LockedFiles,
    HardLinkFolder,
    NetworkDisk,
    ReadOnlyNTFSDisk,
    ReadOnlyDisk,
    HaventRightToDelete,
    Unknown,
    NotRemoved,
};

enum class RemoveMode { toTrash, permanently };

// The file a path named when it was classified: what the administrator
// helper checks before it acts, so that a file put in its place since is
// never the one removed.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    bool operator==(const FileIdentity&) const = default;
};

// Why the file system refused to remove a path, read when the item is made,
// for the effective user of this process.
class RefusedRemovalItem {
  public:
    explicit RefusedRemovalItem(std::optional<std::string> path);
    virtual ~RefusedRemovalItem() = default;

    // Whether a second attempt with administrator rights may succeed: to the
    // Trash only for permission and lock problems; for good also on network
    // volumes and unexplained failures; never on read-only volumes.
    static bool isCanBeRemovedPermanently(GroupType group, bool permanently);
    bool isCanBeRemovedPermanently(bool permanently) const {
        return isCanBeRemovedPermanently(mRemoveGroupType, permanently);
    }

    const std::set<RemoveErrorType>& errorTypes() const { return mErrorTypes; }
    GroupType removeGroupType() const { return mRemoveGroupType; }
    const std::optional<std::string>& path() const { return mPath; }
    // Nothing when nothing was at the path.
    const std::optional<FileIdentity>& identity() const { return mIdentity; }

    static GroupType groupForErrorTypes(const std::set<RemoveErrorType>& types);

  private:
    void classify(const std::string& path);

    std::set<RemoveErrorType> mErrorTypes;
    GroupType mRemoveGroupType = GroupType::Unknown;
    std::optional<std::string> mPath;
    std::optional<FileIdentity> mIdentity;
};

}  // namespace korvex
