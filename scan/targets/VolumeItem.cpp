#include "scan/targets/VolumeItem.h"

#include "platform/mounts/DeviceInfo.h"
#include "platform/mounts/MountTable.h"

namespace korvex {

VolumeItem::VolumeItem(std::string path, std::string name, std::int64_t size, std::int64_t freeSize,
                       std::int64_t nodes)
    : TopLevelItem(std::move(path), std::move(name), size, freeSize, nodes) {
    getDeepInfo();
}

void VolumeItem::getDeepInfo() {
    DADeviceProtocol.clear();
    DADeviceModel.clear();
    DAMediaWritable.clear();
    DAVolumeKind.clear();
    std::optional<platform::MountEntry> mount =
        platform::mountForPath(platform::listMounts(), ppath);
    if (!mount || mount->mountPoint != ppath) {
        return;
    }
    DAVolumeKind = mount->fsType;
    // The root file system is the one the system boots from.
    bootable = ppath == "/";
    platform::DeviceInfo device = platform::deviceInfoForMount(*mount);
    mpBSDName = device.deviceName;
    DADeviceProtocol = device.protocol;
    DADeviceModel = device.model;
    DAMediaWritable = device.protocol.empty() ? "" : (device.mediaWritable ? "Yes" : "No");
    bInternal = device.internal;
    mMediaClass = device.mediaClass;
}

bool VolumeItem::isNetworkVol() const {
    return platform::isNetworkFileSystem(DAVolumeKind);
}

bool VolumeItem::ifHavetheSameChars(const VolumeItem& other) const {
    if (DADeviceProtocol.empty() || other.DADeviceProtocol.empty()) {
        return DADeviceProtocol.empty() && other.DADeviceProtocol.empty();
    }
    return DADeviceProtocol == other.DADeviceProtocol && mMediaClass == other.mMediaClass;
}

bool VolumeItem::isEqual(const TopLevelItem& other) const {
    const auto* volume = dynamic_cast<const VolumeItem*>(&other);
    return volume != nullptr && TopLevelItem::isEqual(other) && ifHavetheSameChars(*volume) &&
           bootable == volume->bootable && bInternal == volume->bInternal &&
           mMediaClass == volume->mMediaClass && DADeviceProtocol == volume->DADeviceProtocol &&
           DADeviceModel == volume->DADeviceModel && DAMediaWritable == volume->DAMediaWritable &&
           DAVolumeKind == volume->DAVolumeKind && mpBSDName == volume->mpBSDName;
}

void VolumeItem::setPropsFrom(const TopLevelItem& other) {
    TopLevelItem::setPropsFrom(other);
    const auto* volume = dynamic_cast<const VolumeItem*>(&other);
    if (volume == nullptr) {
        return;
    }
    removable = volume->removable;
    writeble = volume->writeble;
    unmountable = volume->unmountable;
    bEjectable = volume->bEjectable;
    bAutomounted = volume->bAutomounted;
    bootable = volume->bootable;
    nFiles = volume->nFiles;
    nFolders = volume->nFolders;
    bInternal = volume->bInternal;
    mMediaClass = volume->mMediaClass;
    mpBSDName = volume->mpBSDName;
    DADeviceProtocol = volume->DADeviceProtocol;
    DADeviceModel = volume->DADeviceModel;
    DAMediaWritable = volume->DAMediaWritable;
    DAVolumeKind = volume->DAVolumeKind;
}

}  // namespace korvex
