#pragma once

#include "app/menu/MainMenuAction.h"
#include "app/menu/MainMenuActionPerformer.h"
#include "app/menu/MainMenuItem.h"

#include <functional>
#include <string>
#include <vector>

namespace korvex {

// Routes main-menu commands to the registered controllers: an item is
// enabled when one of them can act, and choosing it lets every controller
// that can act perform, in registration order. Main thread only; registered
// controllers stay owned by their creators and must unregister before they go.
class MainMenuController {
  public:
    using DeveloperItemValidator = std::function<bool(MainMenuItem& item)>;

    static constexpr const char* kExpandCategoryListTitle = "Expand Category List";
    static constexpr const char* kCollapseCategoryListTitle = "Collapse Category List";

    static MainMenuController& shared();

    // Registration order is kept; a controller registered twice counts once.
    void addDelegateToArray(MainMenuActionPerformer* delegate);
    void removeDelegateFromArray(MainMenuActionPerformer* delegate);
    const std::vector<MainMenuActionPerformer*>& delegates() const { return mDelegates; }

    void setCategoryListPanel(CategoryListPanel* panel) { mCategoryListPanel = panel; }
    void setDeveloperItemValidator(DeveloperItemValidator validator) {
        mDeveloperItemValidator = std::move(validator);
    }

    MainMenuAction actionFor(const MainMenuItem& item) const;
    // May retitle the item (the category-list item).
    bool validateMenuItem(MainMenuItem& item) const;

    void doMainMenuItemAction(const MainMenuItem& sender);
    // The direct actions of the three items without an identifier.
    void showInFileManagerAction(const MainMenuItem& sender);
    void previewAction(const MainMenuItem& sender);
    void informationAction(const MainMenuItem& sender);

    // Every controller that can act performs; answers whether any did.
    bool performForSomeDelegateAction(MainMenuAction code, const MainMenuItem& sender);

  private:
    std::vector<MainMenuActionPerformer*> mDelegates;
    CategoryListPanel* mCategoryListPanel = nullptr;
    DeveloperItemValidator mDeveloperItemValidator;
};

}  // namespace korvex
