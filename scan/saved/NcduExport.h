#pragma once

#include "scan/saved/SavedScan.h"

#include <string>
#include <string_view>

namespace korvex {

// ncdu's JSON export format, version 1: a scan made with `ncdu -o` (or by
// `korvex-cli scan --export-ncdu`) on any machine can be opened here, and
// a scan made here can be opened by ncdu.
//
// Names are written as the bytes they are: text that is not UTF-8 stays
// as it is, as ncdu itself writes it, so every name comes back unchanged.

// The export text of `scan`. Nodes that stand for space no entry holds
// (unscanned, unreadable or purgeable space) have no place in the format
// and are left out.
std::string encodeNcduExport(const SavedScan& scan);

// Reads an export. Links, devices and other entries that are not files or
// folders count into their folder, as a scan here counts them; entries on
// other file systems are left out; each hard-linked inode counts once.
SavedScanResult decodeNcduExport(std::string_view text);

// Whether `head` (the first bytes of a file) starts an export.
bool looksLikeNcduExport(std::string_view head);

}  // namespace korvex
