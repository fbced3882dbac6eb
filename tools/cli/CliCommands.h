#pragma once

#include <string>

namespace korvex::cli {

// Each answers the process exit status.
int runScan(const std::string& path, bool json);
int runVolumes(bool json);

}  // namespace korvex::cli
