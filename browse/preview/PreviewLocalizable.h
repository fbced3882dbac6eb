#pragma once

#include "platform/Localization.h"

#include <QString>

namespace korvex::PreviewLocalizable {

inline constexpr const char* kTable = "PreviewLocalizable";

inline constexpr platform::TextEntry openButton{"OpenButton", "Open",
                                                "opens the previewed item with its application"};
inline constexpr platform::TextEntry counterLabel{"CounterLabel", "%1 of %2",
                                                  "position of the previewed item; %1 of %2 items"};
inline constexpr platform::TextEntry folderKind{"FolderKind", "Folder", "kind of a folder"};
inline constexpr platform::TextEntry folderItems{"FolderItems", "%1 items",
                                                 "number of items directly in a folder"};
inline constexpr platform::TextEntry missingItem{"MissingItem", "This item is no longer available",
                                                 "the previewed path does not exist"};
inline constexpr platform::TextEntry sizeFact{"SizeFact", "Size", "label of the size fact"};
inline constexpr platform::TextEntry kindFact{"KindFact", "Kind", "label of the kind fact"};
inline constexpr platform::TextEntry modifiedFact{"ModifiedFact", "Modified",
                                                  "label of the modification date fact"};
inline constexpr platform::TextEntry whereFact{"WhereFact", "Where",
                                               "label of the folder holding the item"};
inline constexpr platform::TextEntry truncatedNote{"TruncatedNote", "Only the beginning is shown",
                                                   "a long text file was cut for the preview"};
inline constexpr platform::TextEntry panelTitle{"PanelTitle", "Preview", "title of the preview"};

inline QString text(const platform::TextEntry& entry) {
    return QString::fromStdString(platform::localized(kTable, entry));
}

}  // namespace korvex::PreviewLocalizable
