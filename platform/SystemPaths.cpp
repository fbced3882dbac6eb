#include "platform/SystemPaths.h"

#include "platform/mounts/MountTable.h"

#include <unistd.h>

#include <filesystem>
#include <string_view>

namespace korvex::platform {

namespace {

// Top-level folders of "/", one line each with why it is the system's.
constexpr std::string_view kRootFolders[] = {
    "bin",         // essential commands
    "boot",        // the kernel and the boot loader's files
    "dev",         // device nodes
    "etc",         // system-wide configuration
    "home",        // the users' home folders
    "lib",         // essential libraries
    "lib32",       // 32-bit libraries
    "lib64",       // 64-bit libraries
    "libx32",      // x32 libraries
    "lost+found",  // what the file system check recovered
    "media",       // mount points of removable media
    "mnt",         // mount points made by hand
    "opt",         // add-on packages
    "proc",        // process information
    "root",        // the administrator's home
    "run",         // runtime data
    "sbin",        // system commands
    "snap",        // packaged applications
    "srv",         // data served by this system
    "sys",         // kernel objects
    "tmp",         // temporary files
    "usr",         // installed software
    "var",         // variable data: logs, caches, databases
};

// At the root of any volume.
constexpr std::string_view kVolumeFolders[] = {
    "lost+found",  // the file system check's recoveries
    ".Trash",      // a volume's shared trash
};

// Inside each home folder: the desktop's standard folders and the XDG ones.
constexpr std::string_view kUserFolders[] = {
    "Desktop",   "Documents", "Downloads", "Music",  "Pictures",           "Public",
    "Templates", "Videos",    ".config",   ".local", ".local/share/Trash", ".cache",
};

std::string join(const std::string& base, std::string_view name) {
    return base == "/" ? "/" + std::string(name) : base + "/" + std::string(name);
}

bool isDirectory(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_directory(path, ec);
}

}  // namespace

std::vector<std::string> systemPaths() {
    std::vector<std::string> paths;
    for (std::string_view name : kRootFolders) {
        paths.push_back(join("/", name));
    }
    for (const MountEntry& mount : userVisibleMounts(listMounts())) {
        if (mount.mountPoint == "/") {
            continue;  // the root's folders are listed above
        }
        for (std::string_view name : kVolumeFolders) {
            paths.push_back(join(mount.mountPoint, name));
        }
        // The freedesktop trash of each user on that volume.
        paths.push_back(join(mount.mountPoint, ".Trash-" + std::to_string(::getuid())));
    }
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator("/home", ec)) {
        for (std::string_view name : kUserFolders) {
            std::string path = join(entry.path().string(), name);
            if (isDirectory(path)) {
                paths.push_back(path);
            }
        }
    }
    return paths;
}

}  // namespace korvex::platform
