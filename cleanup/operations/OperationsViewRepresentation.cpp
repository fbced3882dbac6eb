#include "cleanup/operations/OperationsViewRepresentation.h"

#include "platform/Localization.h"

namespace korvex {

namespace {

// The texts of one action, in the order the sheet goes through them. Counts
// come as "one" and "many" forms, "%d" the count, "%@" the destination's name.
struct ActionTexts {
    const char* reviewTitle;
    const char* button;
    const char* running;
    const char* succeeded;
    const char* partlyFailed;
    const char* countOne;
    const char* countMany;
    const char* doneTitle;
    const char* doneOne;
    const char* doneMany;
};

// Removed items go to the Trash: their space comes back only once it is emptied.
constexpr ActionTexts kRemoveTexts{
    "Review and confirm removal",
    "Move to Trash",
    "Moving selected items to the Trash...",
    "Moved to Trash",
    "Some items could not be moved to the Trash.",
    "1 item moved to the <b>Trash</b>. Its space returns when the Trash is emptied.",
    "%d items moved to the <b>Trash</b>. Their space returns when the Trash is emptied.",
    "Moved to Trash",
    "1 item moved to the Trash. Its space returns when the Trash is emptied.",
    "%d items moved to the Trash. Their space returns when the Trash is emptied."};
constexpr ActionTexts kMoveTexts{"Review and confirm moving",
                                 "Move to Folder...",
                                 "Moving selected items...",
                                 "Moving successfully completed",
                                 "Move process completed, some items not moved.",
                                 "1 item moved to <b>%@</b>.",
                                 "%d items moved to <b>%@</b>.",
                                 "Moving completed",
                                 "1 item moved to %@.",
                                 "%d items moved to %@."};
constexpr ActionTexts kCopyTexts{"Review and confirm copying",
                                 "Copy to Folder...",
                                 "Copying selected items...",
                                 "Copying successfully completed",
                                 "Copy process completed, some items not copied.",
                                 "1 item copied to <b>%@</b>.",
                                 "%d items copied to <b>%@</b>.",
                                 "Copying completed",
                                 "1 item copied to %@.",
                                 "%d items copied to %@."};

const ActionTexts& textsOf(CollectionAction action) {
    switch (action) {
        case CollectionAction::move:
            return kMoveTexts;
        case CollectionAction::copy:
            return kCopyTexts;
        case CollectionAction::remove:
            break;
    }
    return kRemoveTexts;
}

std::string withCount(const char* one, const char* many, long count) {
    std::string text = count == 1 ? one : many;
    const auto at = text.find("%d");
    if (at != std::string::npos)
        text.replace(at, 2, std::to_string(count));
    return text;
}

// A name set into a text that carries <b> marks, so that a name holding
// "<", ">" or "&" reads as written.
std::string escapedForMarkup(const std::string& name) {
    std::string escaped;
    escaped.reserve(name.size());
    for (const char c : name) {
        switch (c) {
            case '<':
                escaped += "&lt;";
                break;
            case '>':
                escaped += "&gt;";
                break;
            case '&':
                escaped += "&amp;";
                break;
            default:
                escaped += c;
        }
    }
    return escaped;
}

std::string lastComponent(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos || slash + 1 == path.size() ? path : path.substr(slash + 1);
}

}  // namespace

OperationsViewRepresentation::OperationsViewRepresentation(CollectionAction action)
    : mAction(action) {}

void OperationsViewRepresentation::update(const OperationsManagerState& state,
                                          const OperationItems& items,
                                          std::optional<std::string> destination) {
    mState = state;
    mItems = items;
    if (destination)
        mDestination = std::move(destination);
    mGroups.clear();
    if (std::holds_alternative<OperationCompleted>(mState)) {
        OperationsGroup failedGroup{"Not removed items", {}, true};
        OperationsGroup removedGroup{"Removed items", {}, true};
        for (const auto& item : mItems) {
            const auto result = item->state();
            if (isFailed(result))
                failedGroup.items.push_back(item);
            else if (isSuccess(result))
                removedGroup.items.push_back(item);
        }
        for (auto* group : {&failedGroup, &removedGroup})
            if (!group->items.empty())
                mGroups.push_back(std::move(*group));
    }
    notify();
}

void OperationsViewRepresentation::setAction(CollectionAction action) {
    if (mAction == action)
        return;
    mAction = action;
    notify();
}

std::string OperationsViewRepresentation::title() const {
    const ActionTexts& texts = textsOf(mAction);
    if (std::holds_alternative<OperationInProgress>(mState))
        return texts.running;
    if (const auto* done = std::get_if<OperationCompleted>(&mState))
        return done->failed > 0 ? texts.partlyFailed : texts.succeeded;
    return texts.reviewTitle;
}

std::string OperationsViewRepresentation::actionButtonTitle() const {
    return textsOf(mAction).button;
}

std::string OperationsViewRepresentation::resultText() const {
    const auto* done = std::get_if<OperationCompleted>(&mState);
    if (!done)
        return {};
    const std::string folder =
        mDestination ? escapedForMarkup(lastComponent(*mDestination)) : std::string();
    const ActionTexts& texts = textsOf(mAction);
    return platform::fillPlaceholders(withCount(texts.countOne, texts.countMany, done->succeeded),
                                      {folder});
}

bool OperationsViewRepresentation::isCongratulations() const {
    const auto* done = std::get_if<OperationCompleted>(&mState);
    if (!done || done->failed > 0 || done->succeeded == 0)
        return false;
    for (const auto& item : mItems)
        if (warningOf(item->state()))
            return false;
    return true;
}

std::string OperationsViewRepresentation::congratulationsTitle() const {
    return textsOf(mAction).doneTitle;
}

std::string OperationsViewRepresentation::congratulationsText() const {
    const auto* done = std::get_if<OperationCompleted>(&mState);
    const ActionTexts& texts = textsOf(mAction);
    const std::string folder = mDestination ? lastComponent(*mDestination) : std::string();
    return platform::fillPlaceholders(
        withCount(texts.doneOne, texts.doneMany, done ? done->succeeded : 0), {folder});
}

bool OperationsViewRepresentation::offersTrash() const {
    const auto* done = std::get_if<OperationCompleted>(&mState);
    return mAction == CollectionAction::remove && done != nullptr && done->succeeded > 0;
}

void OperationsViewRepresentation::notify() {
    if (mOnChanged)
        mOnChanged();
}

}  // namespace korvex
