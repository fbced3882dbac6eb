#pragma once

#include "scan/saved/SavedScan.h"

#include <string>
#include <string_view>

namespace korvex {

// Rebuilds a saved scan from the bytes of its file. Anything damaged,
// truncated or forged is refused with the reason and its byte offset; the
// reader allocates only in step with the data it has actually read.
SavedScanResult decodeSavedScan(std::string_view file);

// Whether `head` (the first bytes of a file) starts a saved-scan file.
bool looksLikeSavedScan(std::string_view head);

}  // namespace korvex
