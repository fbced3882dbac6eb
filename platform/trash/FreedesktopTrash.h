#pragma once

#include "platform/fs/FileOpFailure.h"

#include <sys/types.h>

#include <optional>
#include <string>
#include <variant>

namespace korvex::platform {

// Moving items to the freedesktop.org Trash of one user: the home trash for
// items on its file system, the volume's "$topdir/.Trash/$uid" or
// "$topdir/.Trash-$uid" for items elsewhere. Written over system calls rather
// than taken from a toolkit: the toolkits' trash calls neither keep the
// "directorysizes" cache nor report a volume without trash as such, and the
// platform layer takes no toolkit.
class FreedesktopTrash {
  public:
    // The current user's trash: $XDG_DATA_HOME/Trash (default
    // ~/.local/share/Trash), with getuid().
    static FreedesktopTrash forCurrentUser();
    FreedesktopTrash(std::string homeTrashFolder, unsigned uid);

    struct Trashed {
        std::string filesPath;  // where the item now is
        std::string infoPath;   // its .trashinfo file
    };
    using Result = std::variant<Trashed, FileOpFailure>;

    // Moves `path` (a file, folder or symbolic link, which is never followed)
    // into the trash for its volume. Items on a volume without a usable trash
    // are refused, never copied to another volume's trash. On failure the
    // item stays where it was and no trash information is left behind.
    Result trashItem(const std::string& path) const;

    // The trash folder (the one holding files/ and info/) that would receive
    // `path`, made if needed; nothing when the volume has no usable trash.
    std::optional<std::string> trashFolderFor(const std::string& path) const;

    const std::string& homeTrashFolder() const { return mHomeTrashFolder; }

  private:
    // Where an item goes: the trash folder, and the volume's top folder when
    // that is not the home trash (trash information there is relative to it).
    struct Destination {
        std::string folder;
        std::string topFolder;
    };
    std::variant<Destination, FileOpFailure> destinationFor(const std::string& resolvedPath,
                                                            dev_t device) const;
    std::variant<Destination, FileOpFailure> volumeDestination(const std::string& top) const;

    std::string mHomeTrashFolder;
    unsigned mUid;
};

}  // namespace korvex::platform
