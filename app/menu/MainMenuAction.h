#pragma once

namespace korvex {

// The commands of the main menu, by their codes.
enum class MainMenuAction : int {
    ShowInFileManager = 0,
    Preview = 1,
    Information = 2,
    CopyToFolder = 3,
    MoveToFolder = 4,
    Remove = 5,
    DeselectAll = 6,
    Find = 7,
    None = 8,
};

}  // namespace korvex
