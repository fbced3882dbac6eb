#pragma once

#include <string>

namespace korvex {

// What the menu routing needs to know of one menu item, so the routing works
// without widgets: its identifier, its title, and for the items that carry
// no identifier, which of the known items it is.
struct MainMenuItem {
    enum class Kind {
        Ordinary,
        ShowInFileManager,
        Information,
        Preview,
        CopyToFolder,
        CategoryList,          // shows or hides the category (volumes) list
        DeveloperTimeLimited,  // validated by its own controller
    };

    std::string identifier;
    std::string title;
    Kind kind = Kind::Ordinary;
};

}  // namespace korvex
