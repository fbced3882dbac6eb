#pragma once

#include "scan/tree/FileSystemItem.h"

#include <optional>
#include <string>

namespace korvex {

// Why a node may not be ticked for an action.
enum class SelectionLockReason {
    hidden,
    inHiddenFolder,
    requiredForSystem,
    inSelectedFolder,
    specialItem,
    cloudStored
};

// Available, locked for a reason, or not applicable (a row without a node).
struct SelectionAvailability {
    enum class Type { available, locked, notApplicable };

    Type type = Type::notApplicable;
    SelectionLockReason reason = SelectionLockReason::specialItem;
    // Only meaningful for the hidden, in-hidden-folder and system reasons.
    bool isFolder = false;

    static SelectionAvailability available() { return {Type::available}; }
    static SelectionAvailability locked(SelectionLockReason why, bool folder = false) {
        return {Type::locked, why, folder};
    }
    bool isAvailable() const { return type == Type::available; }
    bool operator==(const SelectionAvailability&) const = default;
};

// What the user means to do with ticked nodes.
enum class CollectionAction { remove = 0, move = 1, copy = 2 };

// The first rule that applies: a collected ancestor, a protected system path,
// a synthetic node, cloud storage, then (unless the user allows removing
// hidden items) the node or an ancestor being hidden.
SelectionAvailability selectionAvailability(const FileSystemItem& item);
bool isItemSelectable(const FileSystemItem& item);
// Copying is refused only for what is not on disk to copy: synthetic and
// cloud-stored nodes, and nodes already inside a collected folder.
bool canPerformWithAction(const FileSystemItem& item, CollectionAction action);

// A lock message with its emphasised part between "<w>" and "</w>".
struct LockMessage {
    std::string text;
    // Set for the reasons the user can lift in the settings.
    std::optional<std::string> settingsButtonTitle;
};

// Nothing for an available node, a synthetic node or a row without one.
std::optional<LockMessage> lockMessageFor(const SelectionAvailability& availability);

// The message split around its emphasised part; without markers everything
// is `before`.
struct EmphasisedText {
    std::string before;
    std::string emphasised;
    std::string after;
};
EmphasisedText splitEmphasis(const std::string& text);

}  // namespace korvex
