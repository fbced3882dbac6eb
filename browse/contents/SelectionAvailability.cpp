#include "browse/contents/SelectionAvailability.h"

#include "access/SystemFilesChecker.h"
#include "app/settings/Settings.h"
#include "browse/contents/VolumeContentContainerLocalizable.h"

namespace korvex {

namespace {

std::string message(const platform::TextEntry& entry) {
    return platform::localized(VolumeContentContainerLocalizable::kTable, entry);
}

}  // namespace

SelectionAvailability selectionAvailability(const FileSystemItem& item) {
    using Reason = SelectionLockReason;
    if (item.isParentCollected()) {
        return SelectionAvailability::locked(Reason::inSelectedFolder);
    }
    const bool folder = item.isDirectory();
    if (SystemFilesChecker::isSystemFileAt(item.getFullPath())) {
        return SelectionAvailability::locked(Reason::requiredForSystem, folder);
    }
    if (item.isSpecial()) {
        return SelectionAvailability::locked(Reason::specialItem);
    }
    if (item.isCloudStored()) {
        return SelectionAvailability::locked(Reason::cloudStored);
    }
    if (!Settings::allowRemovingHiddenFiles()) {
        if (item.isHiddenFlag()) {
            return SelectionAvailability::locked(Reason::hidden, folder);
        }
        if (item.isTopHiddenFlag()) {
            return SelectionAvailability::locked(Reason::inHiddenFolder, folder);
        }
    }
    return SelectionAvailability::available();
}

bool isItemSelectable(const FileSystemItem& item) {
    return selectionAvailability(item).isAvailable();
}

bool canPerformWithAction(const FileSystemItem& item, CollectionAction action) {
    const SelectionAvailability availability = selectionAvailability(item);
    if (action != CollectionAction::copy || availability.isAvailable()) {
        return availability.isAvailable();
    }
    switch (availability.reason) {
        case SelectionLockReason::requiredForSystem:
        case SelectionLockReason::hidden:
        case SelectionLockReason::inHiddenFolder:
            return true;
        case SelectionLockReason::inSelectedFolder:
        case SelectionLockReason::specialItem:
        case SelectionLockReason::cloudStored:
            return false;
    }
    return false;
}

std::optional<LockMessage> lockMessageFor(const SelectionAvailability& availability) {
    namespace texts = VolumeContentContainerLocalizable;
    if (availability.type != SelectionAvailability::Type::locked) {
        return std::nullopt;
    }
    const bool folder = availability.isFolder;
    auto withSettingsButton = [](const platform::TextEntry& entry) {
        return LockMessage{message(entry), message(texts::kGoToSettings)};
    };
    switch (availability.reason) {
        case SelectionLockReason::hidden:
            return withSettingsButton(folder ? texts::kFolderIsHidden : texts::kFileIsHidden);
        case SelectionLockReason::inHiddenFolder:
            return withSettingsButton(folder ? texts::kFolderInHiddenFolder
                                             : texts::kFileInHiddenFolder);
        case SelectionLockReason::requiredForSystem:
            return LockMessage{
                message(folder ? texts::kFolderRequiredForSystem : texts::kFileRequiredForSystem),
                std::nullopt};
        case SelectionLockReason::inSelectedFolder:
            return LockMessage{message(texts::kInSelectedFolder), std::nullopt};
        case SelectionLockReason::cloudStored:
            return LockMessage{message(texts::kCloudStored), std::nullopt};
        case SelectionLockReason::specialItem:
            return std::nullopt;
    }
    return std::nullopt;
}

EmphasisedText splitEmphasis(const std::string& text) {
    constexpr std::string_view kOpen = "<w>";
    constexpr std::string_view kClose = "</w>";
    const std::size_t open = text.find(kOpen);
    const std::size_t close =
        open == std::string::npos ? std::string::npos : text.find(kClose, open + kOpen.size());
    if (close == std::string::npos) {
        return {text, {}, {}};
    }
    return {text.substr(0, open), text.substr(open + kOpen.size(), close - open - kOpen.size()),
            text.substr(close + kClose.size())};
}

}  // namespace korvex
