#pragma once

#include "platform/Localization.h"

namespace korvex::VolumeContentContainerLocalizable {

inline constexpr const char* kTable = "VolumeContentContainerLocalizable";

// The application's own settings window is Edit > Preferences, so the
// hidden-item messages and their button name Preferences.
inline constexpr platform::TextEntry kFolderIsHidden{
    "FolderIsHiddenInfoMessage",
    "The folder is hidden and it is not recommended to delete it.\nIf you want to delete hidden "
    "items, enable the option\n<w>\"Allow removing hidden files and folders\"</w> in Preferences.",
    "Informative message"};
inline constexpr platform::TextEntry kFileIsHidden{
    "FileIsHiddenInfoMessage",
    "The file is hidden and it is not recommended to delete it.\nIf you want to delete hidden "
    "items, enable the option\n<w>\"Allow removing hidden files and folders\"</w> in Preferences.",
    "Informative message"};
inline constexpr platform::TextEntry kFolderInHiddenFolder{
    "FolderIsLocatedInHiddenFolderInfoMessage",
    "The folder is in hidden folder and it is not recommended to delete it.\nIf you want to "
    "delete items in hidden folder, enable the option \n<w>\"Allow removing hidden files and "
    "folders\"</w> in Preferences.",
    "Informative message"};
inline constexpr platform::TextEntry kFileInHiddenFolder{
    "FileIsLocatedInHiddenFolderInfoMessage",
    "The file is in hidden folder and it is not recommended to delete it.\nIf you want to "
    "delete items in hidden folder, enable the option \n<w>\"Allow removing hidden files and "
    "folders\"</w> in Preferences.",
    "Informative message"};
inline constexpr platform::TextEntry kFolderRequiredForSystem{
    "FolderRequiredForTheSystemInfoMessage",
    "This folder is required for the system to operate. It is not recommended to remove system "
    "folders.",
    "Informative message"};
inline constexpr platform::TextEntry kFileRequiredForSystem{
    "FileRequiredForTheSystemInfoMessage",
    "This file is required for the system to operate. It is not recommended to remove system "
    "files.",
    "Informative message"};
inline constexpr platform::TextEntry kInSelectedFolder{
    "FileLocatedInTheSelectedFolderInfoMessage",
    "This file is located in a folder that has already been added to the Selected.",
    "Informative message"};
inline constexpr platform::TextEntry kCloudStored{
    "IsCloudStoredFileInfoMessage",
    "This file takes up no space on your disk. There is no need to remove it.",
    "Informative message"};
inline constexpr platform::TextEntry kGoToSettings{"GoToBiggestButtonTitle", "Go to Preferences",
                                                   "Button title"};

inline constexpr platform::TextEntry kSmallItemsGroupTitle{"SmallItemsGroupTitle", "Small items",
                                                           "Items group title"};
inline constexpr platform::TextEntry kHiddenItemsGroupTitle{"HiddenItemsGroupTitle", "Hidden items",
                                                            "Items group title"};

inline constexpr platform::TextEntry kScanningFolder{"ScanningFolderLabel", "Scanning...",
                                                     "Placeholder of an empty list"};
inline constexpr platform::TextEntry kEmptyFolder{"EmptyFolderLabel", "Empty folder",
                                                  "Placeholder of an empty list"};
inline constexpr platform::TextEntry kSelectItemToReview{
    "SelectItemToReview", "Select an item to review", "Placeholder of the details area"};

}  // namespace korvex::VolumeContentContainerLocalizable
