#include "scan/targets/VolumeGrouping.h"

#include "platform/Localization.h"

#include <algorithm>
#include <string_view>

namespace korvex {

namespace {
constexpr const char* kTable = "VolumesTableLocalizable";
constexpr platform::TextEntry kNetwork{"Network Disks", "Network Disks", "volume group"};
constexpr platform::TextEntry kImages{"Disk Images", "Disk Images", "volume group"};
constexpr platform::TextEntry kExternal{"External Disks", "External Disks", "volume group"};
constexpr platform::TextEntry kOptical{"Optical Disks", "Optical Disks", "volume group"};
constexpr platform::TextEntry kDevices{"Devices", "Devices", "volume group"};
constexpr std::string_view externalDiskProtocols[] = {"USB", "PCI-Express", "PCIe", "NVMe"};
}  // namespace

std::string getGroupNameForItem(const VolumeItem& volume) {
    const std::string& protocol = volume.DADeviceProtocol;
    const platform::TextEntry* title = &kDevices;
    if (volume.isNetworkVol()) {
        title = &kNetwork;
    } else if (protocol == "Virtual Interface") {
        title = &kImages;
    } else if (std::find(std::begin(externalDiskProtocols), std::end(externalDiskProtocols),
                         protocol) != std::end(externalDiskProtocols)) {
        title = &kExternal;
    } else if (protocol == "SATA" && (volume.mMediaClass == 1 || volume.mMediaClass == 2)) {
        title = &kOptical;
    }
    return platform::localized(kTable, *title);
}

}  // namespace korvex
