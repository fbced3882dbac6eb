#pragma once

#include <ctime>
#include <string>

namespace korvex::platform {

// The contents of a NAME.trashinfo file: the "[Trash Info]" group with the
// item's original path (already percent-encoded) and the local deletion time.
std::string trashInfoText(const std::string& encodedPath, std::time_t deletedAt);

// What came of creating an info file: `error` 0 with the file's modification
// time, EEXIST when the name is already taken, or another error number.
struct TrashInfoReservation {
    int error = 0;
    std::time_t modified = 0;
};

// Creates `path` only when nothing is there (O_EXCL: the creation is what
// reserves the trash name, whoever else is trashing at the same moment) and
// writes `text`; a file that could not be written whole is removed again.
TrashInfoReservation reserveTrashInfo(const std::string& path, const std::string& text);
// The same for `name` inside the open folder `folderFd`, for callers that hold
// the folder rather than trust a path to it.
TrashInfoReservation reserveTrashInfoAt(int folderFd, const std::string& name,
                                        const std::string& text);

// The name under which an item is tried the `attempt`-th time: the name
// itself first, then "name 1.ext", "name 2.ext"… for a non-folder with an
// extension, "name 1", "name 2"… otherwise, as file managers number copies.
std::string numberedTrashName(const std::string& name, bool isFolder, unsigned attempt);

}  // namespace korvex::platform
