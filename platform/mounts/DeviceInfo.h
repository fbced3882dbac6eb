#pragma once

#include "platform/mounts/MountTable.h"

#include <cstdint>
#include <string>

namespace korvex::platform {

// What the volume list shows about the device behind a mount. A fact that
// cannot be read keeps its default; a network file system has no device.
struct DeviceInfo {
    // "USB", "SATA", "NVMe", "PCI", "SCSI", "Secure Digital", "VirtIO",
    // "Virtual Interface" (loop devices, i.e. disk images); empty when unknown.
    std::string protocol;
    std::string model;
    std::string deviceName;   // such as "sda1" or "nvme0n1p2"
    std::string backingFile;  // the image file behind a loop device
    bool removable = false;
    bool mediaWritable = true;
    std::int64_t internal = -1;   // 1 internal, 0 external, -1 unknown
    std::int32_t mediaClass = 0;  // 0 other, 1 CD, 2 DVD
};

// Follows device-mapper, LVM and RAID layers down to the first disk below.
DeviceInfo deviceInfoFor(std::uint32_t devMajor, std::uint32_t devMinor);
// The same for a mount; file systems that number their devices themselves
// (btrfs, ZFS: 0:N) are followed through the device they were mounted from.
DeviceInfo deviceInfoForMount(const MountEntry& mount);

}  // namespace korvex::platform
