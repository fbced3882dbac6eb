#include "cleanup/operations/FileOperations.h"
#include "platform/trash/FreedesktopTrash.h"

namespace korvex {

namespace {

OperationError asOperationError(const platform::FileOpFailure& failure) {
    return posixError(failure.errnoValue, failure.message);
}

template <class PlatformTransfer>
FileOperations::Transfer transferBy(PlatformTransfer transfer) {
    return
        [transfer](
            const std::string& source, const std::string& folder,
            const platform::NameChooser& chooseName) -> std::variant<std::string, OperationError> {
            platform::TransferResult result = transfer(source, folder, chooseName);
            if (const auto* failure = std::get_if<platform::FileOpFailure>(&result))
                return asOperationError(*failure);
            return std::get<std::string>(std::move(result));
        };
}

}  // namespace

FileOperations FileOperations::system() {
    FileOperations files;
    files.trashItem = [](const std::string& path) -> std::optional<OperationError> {
        auto result = platform::FreedesktopTrash::forCurrentUser().trashItem(path);
        if (const auto* failure = std::get_if<platform::FileOpFailure>(&result))
            return asOperationError(*failure);
        return std::nullopt;
    };
    files.moveItem = transferBy(platform::moveItemInto);
    files.copyItem = transferBy(platform::copyItemInto);
    return files;
}

}  // namespace korvex
