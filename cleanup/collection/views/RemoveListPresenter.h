#pragma once

#include "cleanup/operations/OperationsManager.h"

#include <functional>
#include <memory>
#include <set>

namespace korvex {

class ActionTypeMenuController;

// The review sheet's logic over one operation: which rows are ticked (all
// until the user unticks them), which buttons the sheet offers in each state,
// and starting, retrying and dismissing.
class RemoveListPresenter : public OperationItemSelectionHandler,
                            public std::enable_shared_from_this<RemoveListPresenter> {
  public:
    static std::shared_ptr<RemoveListPresenter> create(std::shared_ptr<OperationsManager> manager,
                                                       ActionTypeMenuController& chooser,
                                                       std::function<void()> dismissed);

    OperationsManager& manager() { return *mManager; }
    OperationsViewRepresentation& model() { return mManager->viewRepresentation(); }
    ActionTypeMenuController& chooser() { return mChooser; }

    bool isItemSelected(const OperationItem& item) const override;
    void setItemSelected(const OperationItem& item, bool selected);
    // The ticked rows still to do, and their size.
    struct Ticked {
        std::size_t count = 0;
        std::int64_t size = 0;
    };
    Ticked tickedItems() const;
    bool hasSelectedItems() const { return tickedItems().count > 0; }

    bool isReviewing() const;
    bool isRunning() const;
    bool isCompleted() const;
    bool canRetry() const;
    // Some row has an error or a warning to show.
    bool hasDetails() const;

    void startOperation();
    void dismiss();

  private:
    RemoveListPresenter(std::shared_ptr<OperationsManager> manager,
                        ActionTypeMenuController& chooser, std::function<void()> dismissed);

    std::shared_ptr<OperationsManager> mManager;
    ActionTypeMenuController& mChooser;
    std::function<void()> mDismissed;
    std::set<const OperationItem*> mUnticked;
};

}  // namespace korvex
