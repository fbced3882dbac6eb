#pragma once

#include "browse/contents/SelectionAvailability.h"
#include "cleanup/operations/OperationItem.h"
#include "cleanup/operations/OperationsManagerState.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace korvex {

// Rows of the review sheet under one heading.
struct OperationsGroup {
    std::string name;
    OperationItems items;
    bool isExpanded = true;
};

// What the review sheet shows of an operation: its rows, grouped by result
// once it has run, and the texts of its title, status and buttons. Main
// thread only.
class OperationsViewRepresentation {
  public:
    explicit OperationsViewRepresentation(CollectionAction action);

    void update(const OperationsManagerState& state, const OperationItems& items,
                std::optional<std::string> destination);
    void setAction(CollectionAction action);
    void setOnChanged(std::function<void()> onChanged) { mOnChanged = std::move(onChanged); }

    CollectionAction action() const { return mAction; }
    const OperationsManagerState& state() const { return mState; }
    const OperationItems& items() const { return mItems; }
    // Empty until the operation has run: then failed items first, each
    // group only when it has items.
    const std::vector<OperationsGroup>& groups() const { return mGroups; }

    std::string title() const;
    std::string actionButtonTitle() const;
    // The finished operation's counts as markup: "<b>" marks the emphasis
    // and the folder's name is escaped. Empty before.
    std::string resultText() const;
    // Every item went through without failure or warning.
    bool isCongratulations() const;
    // The heading and the plain-text line of that success page.
    std::string congratulationsTitle() const;
    std::string congratulationsText() const;
    // Items went to the Trash: the sheet offers to show it.
    bool offersTrash() const;

  private:
    void notify();

    CollectionAction mAction;
    OperationsManagerState mState = OperationInReview{};
    OperationItems mItems;
    std::optional<std::string> mDestination;
    std::vector<OperationsGroup> mGroups;
    std::function<void()> mOnChanged;
};

}  // namespace korvex
