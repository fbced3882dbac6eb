#pragma once

#include <string>

namespace korvex::cli {

// Each answers the process exit status.
int runScan(const std::string& path, bool json);
int runVolumes(bool json);
// Scans `path` and writes the report of its tree to `out`.
int runReport(const std::string& path, const std::string& out);

}  // namespace korvex::cli
