#include "platform/mounts/DeviceInfo.h"

#include <libudev.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string_view>

namespace korvex::platform {

namespace {

struct UdevDeleter {
    void operator()(udev* u) const { udev_unref(u); }
    void operator()(udev_device* d) const { udev_device_unref(d); }
};
using UdevPtr = std::unique_ptr<udev, UdevDeleter>;
using UdevDevicePtr = std::unique_ptr<udev_device, UdevDeleter>;

std::string property(udev_device* device, const char* key) {
    const char* value = udev_device_get_property_value(device, key);
    return value != nullptr ? value : "";
}

std::string sysattr(udev_device* device, const char* key) {
    const char* value = udev_device_get_sysattr_value(device, key);
    return value != nullptr ? value : "";
}

std::string readSysfs(const std::filesystem::path& path) {
    std::ifstream file(path);
    std::string value;
    std::getline(file, value);
    return value;
}

// The bus names of the volume list. Internal NVMe drives sit on the PCI bus
// and are reported as such; the external names are kept for drives that
// are attached through a hot-plug bus, so the system disk is never listed
// as an external one.
std::string protocolFor(std::string_view sysname, const std::string& bus,
                        const std::string& devpath) {
    if (sysname.starts_with("loop")) {
        return "Virtual Interface";
    }
    if (bus == "usb" || devpath.find("/usb") != std::string::npos) {
        return "USB";
    }
    if (sysname.starts_with("nvme")) {
        return devpath.find("thunderbolt") != std::string::npos ? "NVMe" : "PCI";
    }
    if (sysname.starts_with("mmcblk")) {
        return "Secure Digital";
    }
    if (sysname.starts_with("vd") || devpath.find("/virtio") != std::string::npos) {
        return "VirtIO";
    }
    if (bus == "ata") {
        return "SATA";
    }
    if (bus == "scsi") {
        return "SCSI";
    }
    return bus;
}

// A partition's removable and read-only flags live on its disk.
udev_device* wholeDisk(udev_device* device) {
    const char* type = udev_device_get_devtype(device);
    if (type != nullptr && std::strcmp(type, "partition") == 0) {
        udev_device* parent =
            udev_device_get_parent_with_subsystem_devtype(device, "block", "disk");
        if (parent != nullptr) {
            return parent;
        }
    }
    return device;
}

// A device-mapper or RAID volume (encryption, LVM, mdraid) takes its facts
// from the disk at the bottom of its stack.
std::string lowestSlave(std::string sysname) {
    for (int depth = 0; depth < 16; ++depth) {
        std::error_code ec;
        std::filesystem::directory_iterator slaves("/sys/class/block/" + sysname + "/slaves", ec);
        if (ec || slaves == std::filesystem::directory_iterator()) {
            break;
        }
        sysname = slaves->path().filename().string();
    }
    return sysname;
}

}  // namespace

DeviceInfo deviceInfoFor(std::uint32_t devMajor, std::uint32_t devMinor) {
    DeviceInfo info;
    if (devMajor == 0) {
        return info;  // no block device: network or virtual file system
    }
    UdevPtr context(udev_new());
    if (context == nullptr) {
        return info;
    }
    UdevDevicePtr device(
        udev_device_new_from_devnum(context.get(), 'b', makedev(devMajor, devMinor)));
    if (device == nullptr) {
        return info;
    }
    info.deviceName = udev_device_get_sysname(device.get());
    std::string facts = info.deviceName;
    if (facts.starts_with("loop")) {
        info.backingFile = readSysfs("/sys/class/block/" + facts + "/loop/backing_file");
    }
    {
        std::string slave = lowestSlave(facts);
        if (slave != facts) {
            UdevDevicePtr lower(
                udev_device_new_from_subsystem_sysname(context.get(), "block", slave.c_str()));
            if (lower != nullptr) {
                device = std::move(lower);
                facts = slave;
            }
        }
    }
    udev_device* disk = wholeDisk(device.get());
    std::string devpath =
        udev_device_get_devpath(disk) != nullptr ? udev_device_get_devpath(disk) : "";
    info.protocol = protocolFor(facts, property(device.get(), "ID_BUS"), devpath);
    info.model = property(device.get(), "ID_MODEL");
    if (info.model.empty()) {
        info.model = readSysfs("/sys/class/block/" + std::string(udev_device_get_sysname(disk)) +
                               "/device/model");
    }
    info.removable = sysattr(disk, "removable") == "1" || info.protocol == "USB" ||
                     info.protocol == "Secure Digital";
    info.mediaWritable = sysattr(disk, "ro") != "1";
    info.internal = info.protocol.empty() ? -1 : (info.removable ? 0 : 1);
    if (property(device.get(), "ID_CDROM") == "1") {
        info.mediaClass = property(device.get(), "ID_CDROM_MEDIA_DVD") == "1" ? 2 : 1;
    }
    return info;
}

DeviceInfo deviceInfoForMount(const MountEntry& mount) {
    if (mount.devMajor != 0) {
        return deviceInfoFor(mount.devMajor, mount.devMinor);
    }
    if (isNetworkFileSystem(mount.fsType) || !mount.source.starts_with("/dev/")) {
        return {};  // network, memory or pseudo file systems have no disk
    }
    struct stat source {};
    if (::stat(mount.source.c_str(), &source) != 0 || !S_ISBLK(source.st_mode)) {
        return {};
    }
    return deviceInfoFor(major(source.st_rdev), minor(source.st_rdev));
}

}  // namespace korvex::platform
