#pragma once

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
    std::string deviceName;  // such as "sda1" or "nvme0n1p2"
    bool removable = false;
    bool mediaWritable = true;
    std::int64_t internal = -1;   // 1 internal, 0 external, -1 unknown
    std::int32_t mediaClass = 0;  // 0 other, 1 CD, 2 DVD
};

DeviceInfo deviceInfoFor(std::uint32_t devMajor, std::uint32_t devMinor);

}  // namespace korvex::platform
