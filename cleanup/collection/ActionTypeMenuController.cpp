#include "cleanup/collection/ActionTypeMenuController.h"

#include "app/settings/Settings.h"

namespace korvex {

namespace {

CollectionAction storedAction() {
    switch (Settings::getUnsignedLongLongValueForKey(ActionTypeMenuController::kActionKey, 0)) {
        case 1:
            return CollectionAction::move;
        case 2:
            return CollectionAction::copy;
        default:
            return CollectionAction::remove;
    }
}

}  // namespace

ActionTypeMenuController::ActionTypeMenuController() : mAction(storedAction()) {}

void ActionTypeMenuController::chooseAction(CollectionAction action) {
    mAction = action;
    Settings::saveUnsignedLongLongValue(static_cast<unsigned long long>(action), kActionKey);
    for (const auto& listener : mListeners)
        listener(action);
}

void ActionTypeMenuController::changeActionTypeTo(CollectionAction action) {
    mAction = action;
}

std::string ActionTypeMenuController::reviewButtonTitle() const {
    switch (mAction) {
        case CollectionAction::move:
            return "Review to Move";
        case CollectionAction::copy:
            return "Review to Copy";
        case CollectionAction::remove:
            break;
    }
    return "Review to Remove";
}

std::vector<std::pair<CollectionAction, std::string>> ActionTypeMenuController::menuItems() {
    return {{CollectionAction::remove, "Remove"},
            {CollectionAction::move, "Move to Folder..."},
            {CollectionAction::copy, "Copy to Folder..."}};
}

}  // namespace korvex
