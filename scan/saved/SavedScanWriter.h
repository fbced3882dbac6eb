#pragma once

#include "scan/saved/SavedScan.h"

#include <optional>
#include <string>

namespace korvex {

// The bytes of a saved-scan file for `scan`.
std::string encodeSavedScan(const SavedScan& scan);

// Writes `scan` to `path`, replacing any file there only once the new one is
// complete. Answers the error text, or nothing on success.
std::optional<std::string> writeSavedScan(const SavedScan& scan, const std::string& path);

}  // namespace korvex
