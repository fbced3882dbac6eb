#pragma once

#include "cleanup/operations/OperationResult.h"

#include <functional>
#include <optional>
#include <string>

namespace korvex {

// The file work the performers do, as functions so that an operation can be
// pointed at a trash or file system of the caller's choice. Each answers
// nothing on success.
struct FileOperations {
    std::function<std::optional<OperationError>(const std::string& path)> trashItem;
    std::function<std::optional<OperationError>(const std::string& source,
                                                const std::string& target)>
        moveItem;
    std::function<std::optional<OperationError>(const std::string& source,
                                                const std::string& target)>
        copyItem;

    // The user's freedesktop trash and the system's move and copy.
    static FileOperations system();
};

}  // namespace korvex
