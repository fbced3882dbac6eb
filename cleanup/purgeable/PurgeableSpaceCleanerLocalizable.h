#pragma once

#include "platform/Localization.h"

#include <string>

namespace korvex::PurgeableSpaceCleanerLocalizable {

inline constexpr const char* kTable = "PurgeableSpaceCleanerLocalizable";

inline constexpr platform::TextEntry kNotCompleted{
    "PurgeableNotCompleted",
    "The operation for freeing up purgeable space is not completed.\nWait until the process is "
    "finished.",
    "alert: a second free-up request while one runs"};
inline constexpr platform::TextEntry kConfirmMessage{
    "FreeUpPurgeableDiskSpace", "Free Up Purgeable Disk Space", "confirmation sheet title"};
inline constexpr platform::TextEntry kConfirmInformative{
    "FreeUpPurgeableDiskSpaceInfo",
    "%@ will free up %@ on the disk %@.\nThe process could take some significant time. Please "
    "wait until the process is finished.",
    "confirmation sheet text: application name, amount, volume name"};
inline constexpr platform::TextEntry kConfirmFolders{
    "FreeUpCacheFolderContents", "Everything inside %@ (%@) will be removed.",
    "confirmation sheet text: the quoted cache folders, their size"};
inline constexpr platform::TextEntry kFreeUp{"FreeUp", "Free Up", "confirmation sheet button"};
inline constexpr platform::TextEntry kCancel{"Cancel", "Cancel", "confirmation sheet button"};
inline constexpr platform::TextEntry kFreedTitle{"SpaceFreedUpFor", "The space was freed up for %@",
                                                 "result alert title: volume name"};
inline constexpr platform::TextEntry kFreedText{"PurgeableSpaceFreedUp",
                                                "Purgeable space was freed up.", "result alert"};
inline constexpr platform::TextEntry kFailedTitle{
    "SpaceNotFreedUpFor", "The space could not be freed up for %@",
    "failure alert title: volume name; the error follows"};
inline constexpr platform::TextEntry kFreeingLabel{"FreeingUpPurgeable",
                                                   "Freeing up the purgeable space. Please wait...",
                                                   "collection label while a free-up runs"};
inline constexpr platform::TextEntry kMenuItem{"FreeUpPurgeableSpace", "Free Up Purgeable Space",
                                               "context menu item of the purgeable sector"};
inline constexpr platform::TextEntry kUndefinedFreeSize{
    "UndefinedVolumeFreeSize", "Undefined volume free size",
    "error: the volume's free space could not be read"};

inline std::string text(const platform::TextEntry& entry) {
    return platform::localized(kTable, entry);
}

}  // namespace korvex::PurgeableSpaceCleanerLocalizable
