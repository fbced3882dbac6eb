#include "scan/saved/SavedScanTrust.h"

#include "platform/HostName.h"
#include "platform/fs/EntryIdentity.h"

namespace korvex {

SavedScanTrust::SavedScanTrust(std::string host, std::shared_ptr<const NodeIdentities> identities)
    : mHost(std::move(host)), mIdentities(std::move(identities)) {}

std::optional<std::string> SavedScanTrust::refusalForScan() const {
    if (mHost != platform::hostName()) {
        return "This scan was made on " +
               (mHost.empty() ? std::string("another computer") : "\"" + mHost + "\"") +
               ", not on this one: its items are not the files here.";
    }
    if (mIdentities == nullptr) {
        return std::string(
            "The scan file does not record which files its items were, so they cannot be told "
            "apart from files that took their place since.");
    }
    return std::nullopt;
}

std::optional<std::string> SavedScanTrust::refusalFor(
    const std::vector<const FileSystemItem*>& items) const {
    if (auto refusal = refusalForScan()) {
        return refusal;
    }
    for (const FileSystemItem* item : items) {
        const std::string path = item->fullPath();
        const auto recorded = mIdentities->of(item);
        const auto now = platform::entryIdentity(path);
        if (!now) {
            return "\"" + path + "\" is no longer there.";
        }
        if (!recorded || recorded->device != now->device || recorded->inode != now->inode) {
            return "\"" + path + "\" is not the item the scan saw: it was replaced since.";
        }
    }
    return std::nullopt;
}

}  // namespace korvex
