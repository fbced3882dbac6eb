#pragma once

#include "scan/saved/SavedScan.h"

#include <nlohmann/json.hpp>

namespace korvex::cli {

// The report of one scan, printed the same way whether the scan has just
// run or was read back from a file, so the two can be compared line by line:
// the biggest files are taken from the finished tree in both cases.
// `fromFile` adds where and when a read-back scan was made.
void printScanJson(const SavedScan& scan, bool fromFile);
void printScanText(const SavedScan& scan, bool fromFile);

struct ScanOptions;
// Writes the files `options` asks for; false, with the message printed, when
// one cannot be written.
bool writeScanFiles(const SavedScan& scan, const ScanOptions& options);

// Names are bytes: JSON output replaces what is not UTF-8 instead of failing.
void printJsonDocument(const nlohmann::json& document);

// "2026-12-07 23:34 UTC" for seconds since 1970.
std::string dateText(std::int64_t seconds);

}  // namespace korvex::cli
