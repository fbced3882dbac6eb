#pragma once

#include <string>

namespace korvex::scanLabels {

// Labels of the synthetic children of a scanned volume root.
std::string unscannedDiskSpace();
std::string inaccessibleDiskSpace();
std::string purgeableDiskSpace();

}  // namespace korvex::scanLabels
