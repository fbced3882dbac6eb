#pragma once

#include "scan/targets/VolumeItem.h"

#include <string>

namespace korvex {

// The title of the volumes-list group a volume belongs to, by its device
// protocol: "Network Disks", "Disk Images", "External Disks", "Optical Disks"
// or "Devices".
std::string getGroupNameForItem(const VolumeItem& volume);

}  // namespace korvex
