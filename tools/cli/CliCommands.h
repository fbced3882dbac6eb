#pragma once

#include <string>

namespace korvex {
struct SavedScan;
}

namespace korvex::cli {

struct ScanOptions {
    bool json = false;
    std::string savePath;  // a saved-scan file to write; empty for none
    std::string ncduPath;  // an ncdu export to write, "-" for standard output
};

// Each answers the process exit status.
int runScan(const std::string& path, const ScanOptions& options);
int runVolumes(bool json);
// Scans `path` and writes the report of its tree to `out`.
int runReport(const std::string& path, const std::string& out);
// Reports a saved scan or an ncdu export as `scan` reports a fresh scan.
int runShow(const std::string& file, bool json);
// Lists what changed from the scan in `older` to the one in `newer`.
int runDiff(const std::string& older, const std::string& newer, bool json);

// Writes the files `options` asks for; answers false (after saying why) when
// one could not be written.
bool writeScanFiles(const SavedScan& scan, const ScanOptions& options);

}  // namespace korvex::cli
