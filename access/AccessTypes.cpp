#include "access/AccessTypes.h"

#include "access/DiskAccessRestoreManager.h"
#include "scan/format/PathsGenerator.h"
#include "scan/skip/FullDiskAccess.h"

namespace korvex {

std::string folderPathFor(OptionallyAccessibleFolderType type) {
    const PathsGenerator& paths = PathsGenerator::GetInstance();
    switch (type) {
        case OptionallyAccessibleFolderType::documents:
            return paths.buildUserDocumentsDirectory();
        case OptionallyAccessibleFolderType::desktop:
            return paths.buildUserDesktopDirectory();
        case OptionallyAccessibleFolderType::downloads:
            return paths.buildUserDownloadsDirectory();
    }
    return {};
}

bool isOptionallyAccessibleFolderAccessible(OptionallyAccessibleFolderType type) {
    return DiskAccessRestoreManager::sharedManager().isPathAccessible(folderPathFor(type));
}

bool isFullDiskAccessGranted() {
    return FullDiskAccess::current().isFullDiskAccessGranted();
}

bool currentAccess(AccessType type) {
    if (type == AccessType::fullDisk) {
        return isFullDiskAccessGranted();
    }
    return isOptionallyAccessibleFolderAccessible(
        static_cast<OptionallyAccessibleFolderType>(static_cast<std::uint8_t>(type)));
}

}  // namespace korvex
