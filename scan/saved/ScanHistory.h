#pragma once

#include "scan/saved/SavedScan.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace korvex {

// The last few finished scans of each target, kept as saved-scan files in a
// folder of their own per target (named after a hash of its path), so that
// a scan can be compared with the one before it without asking for a file.
class ScanHistory {
  public:
    static constexpr std::size_t kKeptPerTarget = 5;

    // `folder` holds one folder per target; it is made when first needed.
    explicit ScanHistory(std::string folder) : mFolder(std::move(folder)) {}
    // $XDG_DATA_HOME/korvex/scans.
    static std::string defaultFolder();

    struct Recorded {
        std::string file;  // empty when writing failed
        std::optional<std::string> error;
    };
    // Writes the scan as its target's newest and forgets the oldest beyond
    // the bound.
    Recorded record(const SavedScan& scan) const;
    // The target's kept scans, newest first.
    std::vector<std::string> scansOf(const std::string& targetPath) const;
    // The newest kept scan of the target other than `except` (the file of the
    // scan it is compared with, when it was kept too).
    std::optional<std::string> previousOf(const std::string& targetPath,
                                          const std::string& except) const;

  private:
    std::string folderOf(const std::string& targetPath) const;

    std::string mFolder;
};

}  // namespace korvex
