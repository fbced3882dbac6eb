#pragma once

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

// Why the file system refused to remove a path, read when the item is made,
// for the effective user of this process.
class FinderRemoverItem {
  public:
    explicit FinderRemoverItem(std::optional<std::string> path);
    virtual ~FinderRemoverItem() = default;

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

    static GroupType groupForErrorTypes(const std::set<RemoveErrorType>& types);

  private:
    void classify(const std::string& path);

    std::set<RemoveErrorType> mErrorTypes;
    GroupType mRemoveGroupType = GroupType::Unknown;
    std::optional<std::string> mPath;
};

}  // namespace korvex
