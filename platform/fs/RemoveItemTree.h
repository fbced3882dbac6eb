#pragma once

#include "platform/fs/FileOpFailure.h"

#include <optional>
#include <string>

namespace korvex::platform {

// Deletes `path` and, for a folder, everything below it on the same file
// system, never following links. Folders the process owns but may not list
// or change are opened up first, as a rename of the whole item would not
// have cared about them. Answers nothing on success, or the first failure.
std::optional<FileOpFailure> removeItemTree(const std::string& path);

// The same for the entry `name` of the open folder `folderFd`; messages name
// it as `shown`.
std::optional<FileOpFailure> removeItemTreeAt(int folderFd, const std::string& name,
                                              const std::string& shown);

}  // namespace korvex::platform
