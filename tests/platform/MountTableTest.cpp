#include "platform/mounts/DeviceInfo.h"
#include "platform/mounts/MountTable.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

namespace korvex::platform {
namespace {

constexpr const char* kSample =
    "22 1 8:2 / / rw,relatime shared:1 - ext4 /dev/sda2 rw\n"
    "23 22 0:21 / /proc rw,nosuid - proc proc rw\n"
    "24 22 0:5 / /dev rw - devtmpfs udev rw\n"
    "25 22 0:24 / /run rw - tmpfs tmpfs rw\n"
    "26 22 8:3 / /home rw shared:5 - ext4 /dev/sda3 rw\n"
    "27 25 8:17 / /run/media/u/USB\\040Stick rw - vfat /dev/sdb1 rw\n"
    "28 22 7:0 / /snap/core/123 ro - squashfs /dev/loop0 ro\n"
    "29 22 8:2 /var/lib/x /srv/bind rw - ext4 /dev/sda2 rw\n"
    "30 22 0:40 / /mnt/share rw - cifs //nas/share rw\n"
    "31 22 0:41 / /tmp rw - tmpfs tmpfs rw\n"
    "32 22 0:42 /@data /data rw - btrfs /dev/sdc1 rw\n"
    "33 22 0:42 /@backup /backup ro - btrfs /dev/sdc1 ro\n"
    "garbage line\n";

TEST(MountInfo, FieldsAndEscapesAreParsed) {
    std::vector<MountEntry> mounts = parseMountInfo(kSample);
    ASSERT_EQ(mounts.size(), 12u);
    EXPECT_EQ(mounts[0].mountPoint, "/");
    EXPECT_EQ(mounts[0].fsType, "ext4");
    EXPECT_EQ(mounts[0].source, "/dev/sda2");
    EXPECT_EQ(mounts[0].devMajor, 8u);
    EXPECT_EQ(mounts[0].devMinor, 2u);
    EXPECT_EQ(mounts[5].mountPoint, "/run/media/u/USB Stick");
    EXPECT_TRUE(mounts[6].readOnly());
    EXPECT_FALSE(mounts[0].readOnly());
}

TEST(MountInfo, SidebarKeepsDisksMediaAndNetworkShares) {
    std::vector<std::string> points;
    for (const MountEntry& entry : userVisibleMounts(parseMountInfo(kSample))) {
        points.push_back(entry.mountPoint);
    }
    EXPECT_EQ(points, (std::vector<std::string>{"/", "/home", "/run/media/u/USB Stick",
                                                "/mnt/share", "/data", "/backup"}));
    EXPECT_TRUE(isNetworkFileSystem("nfs4"));
    EXPECT_FALSE(isNetworkFileSystem("ext4"));
}

TEST(MountInfo, PathsBelongToTheirLongestMount) {
    std::vector<MountEntry> mounts = parseMountInfo(kSample);
    EXPECT_EQ(mountForPath(mounts, "/home/u/x")->mountPoint, "/home");
    EXPECT_EQ(mountForPath(mounts, "/homework")->mountPoint, "/");
    EXPECT_EQ(mountDisplayName(*mountForPath(mounts, "/")), "File System");
    EXPECT_EQ(mountDisplayName(mounts[5]), "USB Stick");
}

TEST(MountInfo, RealTableHasTheRootAndItsFacts) {
    std::vector<MountEntry> mounts = listMounts();
    ASSERT_FALSE(mounts.empty());
    auto root = mountForPath(mounts, "/");
    ASSERT_TRUE(root.has_value());
    auto facts = volumeFacts("/");
    ASSERT_TRUE(facts.has_value());
    EXPECT_GT(facts->capacity, 0);
    EXPECT_LE(facts->freeSpace, facts->capacity);
    EXPECT_FALSE(volumeFacts("/does/not/exist").has_value());
}

// Every block device the kernel lists is found under its own number and
// described as sysfs describes it; numbers with no device keep the defaults.
TEST(DeviceFacts, BlockDevicesAreTheOnesSysfsNames) {
    const std::filesystem::path byNumber = "/sys/dev/block";
    std::error_code ec;
    int seen = 0;
    for (const auto& entry : std::filesystem::directory_iterator(byNumber, ec)) {
        unsigned devMajor = 0;
        unsigned devMinor = 0;
        if (std::sscanf(entry.path().filename().c_str(), "%u:%u", &devMajor, &devMinor) != 2) {
            continue;
        }
        const std::string name = std::filesystem::read_symlink(entry.path()).filename().string();
        DeviceInfo info = deviceInfoFor(devMajor, devMinor);
        EXPECT_EQ(info.deviceName, name) << entry.path();
        if (name.starts_with("loop")) {
            EXPECT_EQ(info.protocol, "Virtual Interface") << name;
        }
        ++seen;
    }
    if (seen == 0) {
        GTEST_SKIP() << "this machine lists no block devices";
    }
    DeviceInfo absent = deviceInfoFor(4095, 4095);
    EXPECT_TRUE(absent.deviceName.empty());
    EXPECT_TRUE(absent.protocol.empty());
    EXPECT_EQ(absent.internal, -1);
}

}  // namespace
}  // namespace korvex::platform
