#include "diagram/volumes/TargetKind.h"

#include "scan/targets/VolumeItem.h"

namespace korvex {

TargetKind targetKindOf(const TopLevelItem& entry, const std::string& homeFolder) {
    const auto* volume = dynamic_cast<const VolumeItem*>(&entry);
    if (volume == nullptr) {
        return entry.getPath() == homeFolder ? TargetKind::Home : TargetKind::Folder;
    }
    const std::string& protocol = volume->DADeviceProtocol;
    if (protocol.empty()) {
        return TargetKind::NetworkDisk;
    }
    if (protocol == "Virtual Interface") {
        return TargetKind::DiskImage;
    }
    if (volume->mMediaClass == 1 || volume->mMediaClass == 2) {
        return TargetKind::OpticalDisk;
    }
    // An internal flag that is not known yet counts the removable ones as external.
    bool external = volume->bInternal == 0 || (volume->bInternal < 0 && volume->removable);
    return external ? TargetKind::ExternalDisk : TargetKind::InternalDisk;
}

}  // namespace korvex
