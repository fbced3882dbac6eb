#pragma once

#include "platform/Localization.h"

namespace korvex::RadialDiagramLocalizable {

inline constexpr const char* kTable = "RadialDiagramLocalizable";

inline std::string text(const platform::TextEntry& entry) {
    return platform::localized(kTable, entry);
}

inline constexpr platform::TextEntry kFreeCaption{"Free:", "Free:", "hint caption"};
inline constexpr platform::TextEntry kItemsCaption{"Items:", "Items:", "hint caption"};
inline constexpr platform::TextEntry kOccupiedCaption{"Occupied:", "Occupied:", "hint caption"};
inline constexpr platform::TextEntry kSizeCaption{"Size:", "Size:", "hint caption"};
inline constexpr platform::TextEntry kUnscannedSpace{"Unscanned Disk Space", "Unscanned Disk Space",
                                                     "hint title"};
inline constexpr platform::TextEntry kNotCalculated{"Not Calculated", "Not Calculated",
                                                    "hint size of an unscanned folder"};
inline constexpr platform::TextEntry kTrash{"Trash", "Trash", "hint title"};
inline constexpr platform::TextEntry kInTrash{"%@ (item in the Trash)", "%@ (item in the Trash)",
                                              "hint title"};
inline constexpr platform::TextEntry kHiddenItem{"%@ (hidden item)", "%@ (hidden item)",
                                                 "hint title"};
inline constexpr platform::TextEntry kSubHiddenItem{"%@ (sub hidden item)", "%@ (sub hidden item)",
                                                    "hint title"};
inline constexpr platform::TextEntry kOtherItems{"Other items", "Other items",
                                                 "accessibility label of the small items"};
inline constexpr platform::TextEntry kUnscanned{"Unscanned", "Unscanned", "accessibility label"};
inline constexpr platform::TextEntry kOccupied{"Occupied", "Occupied", "accessibility label"};
inline constexpr platform::TextEntry kFree{"Free", "Free", "accessibility label"};
inline constexpr platform::TextEntry kChart{"Disk space chart", "Disk space chart",
                                            "accessibility label of the diagram"};

}  // namespace korvex::RadialDiagramLocalizable
