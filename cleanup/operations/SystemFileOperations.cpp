#include "cleanup/operations/FileOperations.h"
#include "platform/fs/FileTransfer.h"
#include "platform/trash/FreedesktopTrash.h"

namespace korvex {

namespace {

std::optional<OperationError> asOperationError(
    const std::optional<platform::FileOpFailure>& failure) {
    if (!failure)
        return std::nullopt;
    return posixError(failure->errnoValue, failure->message);
}

}  // namespace

FileOperations FileOperations::system() {
    FileOperations files;
    files.trashItem = [](const std::string& path) -> std::optional<OperationError> {
        auto result = platform::FreedesktopTrash::forCurrentUser().trashItem(path);
        if (const auto* failure = std::get_if<platform::FileOpFailure>(&result))
            return posixError(failure->errnoValue, failure->message);
        return std::nullopt;
    };
    files.moveItem = [](const std::string& source, const std::string& target) {
        return asOperationError(platform::moveItem(source, target));
    };
    files.copyItem = [](const std::string& source, const std::string& target) {
        return asOperationError(platform::copyItem(source, target));
    };
    return files;
}

}  // namespace korvex
