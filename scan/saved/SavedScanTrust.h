#pragma once

#include "scan/saved/SavedScan.h"

#include <optional>
#include <string>
#include <vector>

namespace korvex {

// Whether the entries of a tree read from a file are the files on this disk
// now. Removing or moving by path what another machine's scan saw, or what
// was replaced since, would touch files the user never chose: an action is
// allowed only when the scan was made here and every item still has the
// device and inode the file recorded.
class SavedScanTrust {
  public:
    SavedScanTrust(std::string host, std::shared_ptr<const NodeIdentities> identities);
    explicit SavedScanTrust(const SavedScan& scan) : SavedScanTrust(scan.host, scan.identities) {}

    // Nothing when every item may be acted on; otherwise why not, for the user.
    std::optional<std::string> refusalFor(const std::vector<const FileSystemItem*>& items) const;
    // The part of the refusal that holds for every item of the scan.
    std::optional<std::string> refusalForScan() const;

  private:
    std::string mHost;
    std::shared_ptr<const NodeIdentities> mIdentities;
};

}  // namespace korvex
