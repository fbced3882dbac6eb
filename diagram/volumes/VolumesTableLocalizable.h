#pragma once

#include "platform/Localization.h"

namespace korvex::VolumesTableLocalizable {

inline constexpr const char* kTable = "VolumesTableLocalizable";

inline constexpr platform::TextEntry kFavoriteFolders{"Favorite folders", "Favorite folders",
                                                      "section header"};
inline constexpr platform::TextEntry kFolders{"Folders", "Folders", "section header"};
inline constexpr platform::TextEntry kStartScanning{"Start scanning", "Start scanning",
                                                    "row button tooltip"};
inline constexpr platform::TextEntry kStopScanning{"Stop scanning", "Stop scanning",
                                                   "row button tooltip"};
inline constexpr platform::TextEntry kRescan{"Rescan", "Rescan", "row button tooltip"};
inline constexpr platform::TextEntry kAvailableOf{"%@ available of %@", "%@ available of %@",
                                                  "free space of a volume, then its capacity"};
inline constexpr platform::TextEntry kStartScanningButton{"Start Scanning", "Start Scanning",
                                                          "overview button"};
inline constexpr platform::TextEntry kInvitation{
    "Click the <b>Start Scanning</b> button to review its content",
    "Click the <b>Start Scanning</b> button to review its content",
    "overview of a target not scanned yet; keep the bold markup"};
inline constexpr platform::TextEntry kKind{"Kind", "Kind", "overview fact"};
inline constexpr platform::TextEntry kCreated{"Created", "Created", "overview fact"};
inline constexpr platform::TextEntry kModified{"Modified", "Modified", "overview fact"};
inline constexpr platform::TextEntry kLastOpened{"Last opened", "Last opened", "overview fact"};
inline constexpr platform::TextEntry kWhere{"Where", "Where", "overview fact"};
inline constexpr platform::TextEntry kCapacity{"Capacity", "Capacity", "overview fact"};
inline constexpr platform::TextEntry kAvailable{"Available", "Available", "overview fact"};
inline constexpr platform::TextEntry kUsed{"Used", "Used", "overview fact"};
inline constexpr platform::TextEntry kReserved{"ReservedForAdministrator",
                                               "Reserved for the administrator", "overview fact"};
inline constexpr platform::TextEntry kItems{"Items", "Items", "overview fact"};
inline constexpr platform::TextEntry kType{"Type", "Type", "overview fact"};
inline constexpr platform::TextEntry kFolderKind{"Folder", "Folder", "kind of a folder target"};
inline constexpr platform::TextEntry kUnknown{"Unknown", "Unknown", "a fact that is not known"};

inline std::string text(const platform::TextEntry& entry) {
    return platform::localized(kTable, entry);
}

}  // namespace korvex::VolumesTableLocalizable
