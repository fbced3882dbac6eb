#pragma once

#include "browse/contents/SelectionAvailability.h"

#include <functional>
#include <string>
#include <vector>

namespace korvex {

// The action the collection's main button performs, kept in the settings
// under "CollecttionAction": move and copy by their values, remove otherwise.
class ActionTypeMenuController {
  public:
    using Listener = std::function<void(CollectionAction)>;
    static constexpr const char* kActionKey = "CollecttionAction";

    ActionTypeMenuController();
    CollectionAction action() const { return mAction; }
    // The user's choice in the chooser: stored, then every listener is told.
    void chooseAction(CollectionAction action);
    // Quietly follows a change made elsewhere (a menu command).
    void changeActionTypeTo(CollectionAction action);
    void addListener(Listener listener) { mListeners.push_back(std::move(listener)); }

    // "Review to Remove", "Review to Move", "Review to Copy".
    std::string reviewButtonTitle() const;
    // The chooser's menu, in order: "Remove", "Move to Folder...", "Copy to Folder...".
    static std::vector<std::pair<CollectionAction, std::string>> menuItems();

  private:
    CollectionAction mAction;
    std::vector<Listener> mListeners;
};

}  // namespace korvex
