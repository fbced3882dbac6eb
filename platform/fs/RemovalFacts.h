#pragma once

#include <optional>
#include <string>

namespace korvex::platform {

// What the file system says about removing a path, for this process's
// effective user. Each answer is nothing when the system does not say (the
// path vanished, or the file system is read-only, which is a fact of its own).

// The path may be written to: for a folder, entries may be added or removed.
std::optional<bool> isWritableByProcess(const std::string& path);

// The entry may be unlinked from its folder: the folder is writable and
// searchable, and when the folder has the sticky bit the process owns the
// entry or the folder (or may override ownership, as root may).
std::optional<bool> processMayDelete(const std::string& path);

// The file system that holds the path is mounted read-only.
std::optional<bool> isOnReadOnlyFileSystem(const std::string& path);

// The volume's shared trash "top/.Trash" may hold per-user trashes: it is a
// folder with the sticky bit and not a symbolic link.
bool hasStickySharedTrash(const std::string& top);

// A freedesktop.org Trash for the user `uid` exists or could be made at the
// top folder `top` of a volume: "top/.Trash/uid" below a sticky ".Trash"
// that is not a link, or "top/.Trash-uid".
bool volumeHasUsableTrash(const std::string& top, unsigned uid);

}  // namespace korvex::platform
