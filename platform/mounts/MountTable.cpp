#include "platform/mounts/MountTable.h"

#include "platform/fs/PathNames.h"

#include <sys/statvfs.h>

#include <algorithm>
#include <fstream>
#include <sstream>

namespace korvex::platform {

namespace {

// File systems that hold no user data, each left out of the volume list.
constexpr std::string_view kPseudoFileSystems[] = {
    "proc",             // process information
    "sysfs",            // kernel objects
    "cgroup",           // control groups of processes
    "cgroup2",          // the same, unified hierarchy
    "devpts",           // terminals
    "devtmpfs",         // device nodes
    "securityfs",       // security modules' settings
    "debugfs",          // kernel debugging
    "tracefs",          // kernel tracing
    "pstore",           // saved crash logs, a few kilobytes in firmware
    "bpf",              // pinned kernel programs
    "configfs",         // kernel object configuration
    "fusectl",          // the FUSE control files
    "mqueue",           // message queues
    "hugetlbfs",        // huge memory pages
    "autofs",           // mount triggers; the real mount shows up on its own
    "binfmt_misc",      // executable formats
    "efivarfs",         // firmware variables
    "nsfs",             // namespace handles
    "ramfs",            // memory-backed scratch space
    "tmpfs",            // memory-backed: runtime folders and /tmp, gone at reboot
    "overlay",          // container layers over folders already listed
    "squashfs",         // read-only images of packaged applications (snaps and the like)
    "rpc_pipefs",       // NFS client plumbing
    "nfsd",             // the NFS server's control files
    "selinuxfs",        // SELinux policy
    "fuse.gvfsd-fuse",  // the desktop's view of remote places, already reachable elsewhere
    "fuse.portal",      // sandboxed applications' view of files the user shared
    "fuse.lxcfs",       // container views of /proc
};

constexpr std::string_view kNetworkFileSystems[] = {
    "nfs",
    "nfs4",
    "cifs",
    "smb3",
    "smbfs",
    "fuse.sshfs",
    "9p",
    "afs",
    "ceph",
    "glusterfs",
    "fuse.rclone",
    "davfs",
    "fuse.davfs2",
    "ncpfs",
    "fuse.s3fs",
    "fuse.gcsfuse",
    "fuse.onedriver",
    "fuse.google-drive-ocamlfuse",
};

// Remote stores mounted so that a file's data is fetched when it is opened:
// a file there may take no space on this machine at all.
constexpr std::string_view kOnDemandFileSystems[] = {
    "fuse.rclone", "fuse.onedriver", "fuse.google-drive-ocamlfuse", "fuse.s3fs", "fuse.gcsfuse",
};

// Folders that belong to the system: mounts below them are plumbing.
constexpr std::string_view kSystemMountFolders[] = {
    "/proc",
    "/sys",
    "/dev",
    "/run",
    "/snap",
    "/boot",
    "/var/lib/docker",
    "/var/lib/snapd",
    "/var/snap",
    "/var/lib/containers",
};
// ... except removable media, which the desktop mounts below /run.
constexpr std::string_view kMediaFolders[] = {"/run/media", "/media", "/mnt"};

bool isBelow(std::string_view path, std::string_view folder) {
    if (folder == "/") {
        return path.starts_with('/');
    }
    return path == folder ||
           (path.size() > folder.size() && path.substr(0, folder.size()) == folder &&
            path[folder.size()] == '/');
}

std::string decodeEscapes(std::string_view field) {
    std::string out;
    out.reserve(field.size());
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() &&
            std::all_of(field.begin() + static_cast<long>(i) + 1,
                        field.begin() + static_cast<long>(i) + 4,
                        [](char c) { return c >= '0' && c <= '7'; })) {
            out.push_back(static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 +
                                            (field[i + 3] - '0')));
            i += 3;
        } else {
            out.push_back(field[i]);
        }
    }
    return out;
}

bool parseLine(const std::string& line, MountEntry& entry) {
    std::istringstream in(line);
    std::string devices;
    std::string root;
    std::string point;
    if (!(in >> entry.mountId >> entry.parentId >> devices >> root >> point >> entry.options)) {
        return false;
    }
    std::size_t colon = devices.find(':');
    if (colon == std::string::npos) {
        return false;
    }
    entry.devMajor = static_cast<std::uint32_t>(std::stoul(devices.substr(0, colon)));
    entry.devMinor = static_cast<std::uint32_t>(std::stoul(devices.substr(colon + 1)));
    entry.root = decodeEscapes(root);
    entry.mountPoint = decodeEscapes(point);
    std::string field;
    while (in >> field && field != "-") {
        // optional fields (shared:, master: …) are not needed
    }
    std::string source;
    if (!(in >> entry.fsType >> source)) {
        return false;
    }
    entry.source = decodeEscapes(source);
    in >> entry.superOptions;
    return true;
}

bool hasOption(const std::string& options, std::string_view option) {
    std::size_t start = 0;
    while (start <= options.size()) {
        std::size_t end = options.find(',', start);
        if (end == std::string::npos) {
            end = options.size();
        }
        if (std::string_view(options).substr(start, end - start) == option) {
            return true;
        }
        start = end + 1;
    }
    return false;
}

}  // namespace

bool MountEntry::readOnly() const {
    return hasOption(options, "ro");
}

std::vector<MountEntry> parseMountInfo(std::string_view text) {
    std::vector<MountEntry> entries;
    std::istringstream in{std::string(text)};
    std::string line;
    while (std::getline(in, line)) {
        MountEntry entry;
        if (parseLine(line, entry)) {
            entries.push_back(std::move(entry));
        }
    }
    return entries;
}

std::vector<MountEntry> listMounts() {
    std::ifstream file("/proc/self/mountinfo");
    std::stringstream text;
    text << file.rdbuf();
    return parseMountInfo(text.str());
}

bool isNetworkFileSystem(std::string_view fsType) {
    return std::find(std::begin(kNetworkFileSystems), std::end(kNetworkFileSystems), fsType) !=
           std::end(kNetworkFileSystems);
}

bool isOnDemandFileSystem(std::string_view fsType) {
    return std::find(std::begin(kOnDemandFileSystems), std::end(kOnDemandFileSystems), fsType) !=
           std::end(kOnDemandFileSystems);
}

std::vector<MountEntry> userVisibleMounts(const std::vector<MountEntry>& all) {
    std::vector<MountEntry> visible;
    for (const MountEntry& entry : all) {
        if (std::find(std::begin(kPseudoFileSystems), std::end(kPseudoFileSystems), entry.fsType) !=
            std::end(kPseudoFileSystems)) {
            continue;
        }
        bool media = std::any_of(std::begin(kMediaFolders), std::end(kMediaFolders),
                                 [&](std::string_view f) { return isBelow(entry.mountPoint, f); });
        bool system = std::any_of(std::begin(kSystemMountFolders), std::end(kSystemMountFolders),
                                  [&](std::string_view f) { return isBelow(entry.mountPoint, f); });
        if (system && !media) {
            continue;
        }
        // A bind mount shows a folder of a file system listed already.
        bool duplicate = !isNetworkFileSystem(entry.fsType) &&
                         std::any_of(visible.begin(), visible.end(), [&](const MountEntry& seen) {
                             return seen.devMajor == entry.devMajor &&
                                    seen.devMinor == entry.devMinor &&
                                    isBelow(entry.root, seen.root);
                         });
        // Mounted over: the newer mount hides the older one at the same place.
        std::erase_if(visible,
                      [&](const MountEntry& seen) { return seen.mountPoint == entry.mountPoint; });
        if (!duplicate) {
            visible.push_back(entry);
        }
    }
    return visible;
}

std::optional<VolumeFacts> volumeFacts(const std::string& mountPoint) {
    struct statvfs info {};
    if (::statvfs(mountPoint.c_str(), &info) != 0) {
        return std::nullopt;
    }
    VolumeFacts facts;
    const auto bytes = [&](std::uint64_t blocks) {
        return static_cast<std::int64_t>(blocks * info.f_frsize);
    };
    facts.capacity = bytes(info.f_blocks);
    facts.freeSpace = bytes(info.f_bavail);
    facts.used = bytes(info.f_blocks - info.f_bfree);
    facts.reserved = bytes(info.f_bfree - std::min(info.f_bfree, info.f_bavail));
    facts.nodes = static_cast<std::int64_t>(info.f_files - std::min(info.f_files, info.f_ffree));
    facts.readOnly = (info.f_flag & ST_RDONLY) != 0;
    return facts;
}

std::optional<MountEntry> mountForPath(const std::vector<MountEntry>& all,
                                       const std::string& path) {
    const MountEntry* best = nullptr;
    for (const MountEntry& entry : all) {
        if (isBelow(path, entry.mountPoint)) {
            if (best == nullptr || entry.mountPoint.size() >= best->mountPoint.size()) {
                best = &entry;
            }
        }
    }
    return best != nullptr ? std::optional<MountEntry>(*best) : std::nullopt;
}

std::string mountDisplayName(const MountEntry& entry) {
    if (entry.mountPoint == "/") {
        return "File System";
    }
    return std::string(lastPathComponent(entry.mountPoint));
}

}  // namespace korvex::platform
