#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvex::platform {

// One line of /proc/self/mountinfo.
struct MountEntry {
    int mountId = 0;
    int parentId = 0;
    std::uint32_t devMajor = 0;
    std::uint32_t devMinor = 0;
    std::string root;        // the folder of the file system mounted here
    std::string mountPoint;  // escapes such as \040 decoded
    std::string options;
    std::string fsType;
    std::string source;
    std::string superOptions;

    bool readOnly() const;
};

// Capacity figures of a mounted file system, as df counts them: used is what
// the data and metadata take; the reserve is free to root only and is neither
// used nor available to the user.
struct VolumeFacts {
    std::int64_t capacity = 0;
    std::int64_t freeSpace = 0;  // available to the user
    std::int64_t used = 0;
    std::int64_t reserved = 0;
    std::int64_t nodes = 0;  // inodes in use: the volume's item count
    bool readOnly = false;
};

std::vector<MountEntry> parseMountInfo(std::string_view text);
// The mounts of this process, in mount order; empty when unreadable.
std::vector<MountEntry> listMounts();
// The mounts a user would expect in a file manager's sidebar, in mount order.
std::vector<MountEntry> userVisibleMounts(const std::vector<MountEntry>& all);
bool isNetworkFileSystem(std::string_view fsType);
// Remote file systems that fetch a file's data only when it is opened.
bool isOnDemandFileSystem(std::string_view fsType);
std::optional<VolumeFacts> volumeFacts(const std::string& mountPoint);
// The mount that holds `path` (the longest mount point prefix).
std::optional<MountEntry> mountForPath(const std::vector<MountEntry>& all, const std::string& path);
// What a file manager calls the mount: the folder name, or "File System" for "/".
std::string mountDisplayName(const MountEntry& entry);

}  // namespace korvex::platform
