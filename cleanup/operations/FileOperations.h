#pragma once

#include "cleanup/operations/OperationResult.h"
#include "platform/fs/FileTransfer.h"

#include <functional>
#include <optional>
#include <string>
#include <variant>

namespace korvex {

// The file work the performers do, as functions so that an operation can be
// pointed at a trash or file system of the caller's choice.
struct FileOperations {
    // Answers nothing on success.
    using Trash = std::function<std::optional<OperationError>(const std::string& path)>;
    // Puts `source` into `folder` under a name the chooser gives, asking it
    // again while its names are taken; answers the name given.
    using Transfer = std::function<std::variant<std::string, OperationError>(
        const std::string& source, const std::string& folder,
        const platform::NameChooser& chooseName)>;

    Trash trashItem;
    Transfer moveItem;
    Transfer copyItem;

    // The user's freedesktop trash and the system's move and copy.
    static FileOperations system();
};

}  // namespace korvex
