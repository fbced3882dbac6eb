#pragma once

#include "app/menu/MainMenuAction.h"
#include "app/menu/MainMenuItem.h"

namespace korvex {

// A controller that can carry out main-menu commands.
class MainMenuActionPerformer {
  public:
    virtual ~MainMenuActionPerformer() = default;
    virtual bool canPerformMainMenuAction(MainMenuAction code, const MainMenuItem& item) = 0;
    virtual void performMainMenuAction(MainMenuAction code) = 0;
};

// The panel whose category list the menu shows and hides.
class CategoryListPanel {
  public:
    virtual ~CategoryListPanel() = default;
    virtual bool isCategoryListCollapsed() const = 0;
    virtual void toggleCategoryListWidth() = 0;
};

}  // namespace korvex
