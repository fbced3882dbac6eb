#include "app/menu/MainMenuController.h"

#include <algorithm>
#include <map>

namespace korvex {

MainMenuController& MainMenuController::shared() {
    static MainMenuController controller;
    return controller;
}

void MainMenuController::addDelegateToArray(MainMenuActionPerformer* delegate) {
    if (delegate == nullptr ||
        std::find(mDelegates.begin(), mDelegates.end(), delegate) != mDelegates.end()) {
        return;
    }
    mDelegates.push_back(delegate);
}

void MainMenuController::removeDelegateFromArray(MainMenuActionPerformer* delegate) {
    mDelegates.erase(std::remove(mDelegates.begin(), mDelegates.end(), delegate), mDelegates.end());
}

MainMenuAction MainMenuController::actionFor(const MainMenuItem& item) const {
    static const std::map<std::string, MainMenuAction> byIdentifier = {
        {"copyToFolder", MainMenuAction::CopyToFolder},
        {"moveToFolder", MainMenuAction::MoveToFolder},
        {"remove", MainMenuAction::Remove},
        {"deselectAll", MainMenuAction::DeselectAll},
        {"find", MainMenuAction::Find},
    };
    if (!item.identifier.empty()) {
        const auto it = byIdentifier.find(item.identifier);
        return it == byIdentifier.end() ? MainMenuAction::None : it->second;
    }
    switch (item.kind) {
        case MainMenuItem::Kind::ShowInFileManager:
            return MainMenuAction::ShowInFileManager;
        case MainMenuItem::Kind::Information:
            return MainMenuAction::Information;
        case MainMenuItem::Kind::Preview:
            return MainMenuAction::Preview;
        default:
            return MainMenuAction::None;
    }
}

bool MainMenuController::validateMenuItem(MainMenuItem& item) const {
    if (item.kind == MainMenuItem::Kind::CategoryList) {
        const bool collapsed =
            mCategoryListPanel != nullptr && mCategoryListPanel->isCategoryListCollapsed();
        item.title = collapsed ? kExpandCategoryListTitle : kCollapseCategoryListTitle;
        return true;
    }
    if (item.kind == MainMenuItem::Kind::DeveloperTimeLimited) {
        return mDeveloperItemValidator && mDeveloperItemValidator(item);
    }
    const MainMenuAction code = actionFor(item);
    if (code == MainMenuAction::None) {
        return false;
    }
    // A copy of the list: a controller may register or leave while asked.
    const std::vector<MainMenuActionPerformer*> delegates = mDelegates;
    return std::any_of(delegates.begin(), delegates.end(), [&](MainMenuActionPerformer* d) {
        return d->canPerformMainMenuAction(code, item);
    });
}

void MainMenuController::doMainMenuItemAction(const MainMenuItem& sender) {
    if (sender.kind == MainMenuItem::Kind::CategoryList) {
        if (mCategoryListPanel != nullptr) {
            mCategoryListPanel->toggleCategoryListWidth();
        }
        return;
    }
    const MainMenuAction code = actionFor(sender);
    if (code != MainMenuAction::None) {
        performForSomeDelegateAction(code, sender);
    }
}

void MainMenuController::showInFileManagerAction(const MainMenuItem& sender) {
    performForSomeDelegateAction(MainMenuAction::ShowInFileManager, sender);
}

void MainMenuController::previewAction(const MainMenuItem& sender) {
    performForSomeDelegateAction(MainMenuAction::Preview, sender);
}

void MainMenuController::informationAction(const MainMenuItem& sender) {
    performForSomeDelegateAction(MainMenuAction::Information, sender);
}

bool MainMenuController::performForSomeDelegateAction(MainMenuAction code,
                                                      const MainMenuItem& sender) {
    if (code == MainMenuAction::None) {
        return false;
    }
    bool performed = false;
    const std::vector<MainMenuActionPerformer*> delegates = mDelegates;
    for (MainMenuActionPerformer* delegate : delegates) {
        if (delegate->canPerformMainMenuAction(code, sender)) {
            delegate->performMainMenuAction(code);
            performed = true;
        }
    }
    return performed;
}

}  // namespace korvex
