#pragma once

#include "platform/Localization.h"

namespace korvex::DiagramContextMenuLocalizable {

inline constexpr const char* kTable = "DiagramContextMenuLocalizable";

inline constexpr platform::TextEntry kShowInFileManager{"Show in File Manager",
                                                        "Show in File Manager", "menu item"};
inline constexpr platform::TextEntry kGetInformation{"Properties", "Properties", "menu item"};
inline constexpr platform::TextEntry kPreview{"Preview", "Preview", "menu item"};
inline constexpr platform::TextEntry kCopyPath{"Copy Path", "Copy Path", "menu item"};
inline constexpr platform::TextEntry kFreeUpPurgeable{"Free Up Purgeable Space",
                                                      "Free Up Purgeable Space", "menu item"};
inline constexpr platform::TextEntry kReadAbout{"Read about", "Read about", "menu item"};
inline constexpr platform::TextEntry kSelect{"Select", "Select", "menu item"};
inline constexpr platform::TextEntry kDeselect{"Deselect", "Deselect", "menu item"};
inline constexpr platform::TextEntry kAddToFavorites{"Add Folder to Favorites",
                                                     "Add Folder to Favorites", "menu item"};
inline constexpr platform::TextEntry kRemoveFromFavorites{
    "Remove Folder from Favorites", "Remove Folder from Favorites", "menu item"};
inline constexpr platform::TextEntry kQuickRemove{"Quick Remove", "Quick Remove", "menu item"};
inline constexpr platform::TextEntry kMoveToFolder{"Move to Folder...", "Move to Folder...",
                                                   "menu item"};
inline constexpr platform::TextEntry kCopyToFolder{"Copy to Folder...", "Copy to Folder...",
                                                   "menu item"};
inline constexpr platform::TextEntry kGoToFolder{"Go to Folder", "Go to Folder", "menu item"};
inline constexpr platform::TextEntry kGoToParentFolder{"Go to Parent Folder", "Go to Parent Folder",
                                                       "menu item"};
inline constexpr platform::TextEntry kGoToRootFolder{"Go to Root Folder", "Go to Root Folder",
                                                     "menu item"};
inline constexpr platform::TextEntry kScan{"Scan", "Scan", "menu item"};

}  // namespace korvex::DiagramContextMenuLocalizable
