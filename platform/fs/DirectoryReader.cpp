#include "platform/fs/DirectoryReader.h"

#include <fcntl.h>
#include <linux/limits.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstring>

namespace korvex::platform {

namespace {

constexpr int kOpenFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOFOLLOW;

// The head of a record getdents64 writes; the name follows it.
struct LinuxDirent64 {
    ino64_t d_ino;
    off64_t d_off;
    unsigned short d_reclen;
    unsigned char d_type;
};
constexpr std::size_t kNameOffset = offsetof(LinuxDirent64, d_type) + 1;

EntryType typeOf(std::uint16_t mode) {
    switch (mode & S_IFMT) {
        case S_IFREG:
            return EntryType::Regular;
        case S_IFDIR:
            return EntryType::Directory;
        case S_IFLNK:
            return EntryType::Symlink;
        default:
            return EntryType::Other;
    }
}

// Walks down a path too long for one open() in pieces below PATH_MAX.
int openLongPath(const std::string& path) {
    int fd = ::open("/", kOpenFlags);
    std::size_t start = 1;
    while (fd >= 0 && start < path.size()) {
        std::size_t end = path.size();
        if (end - start >= PATH_MAX) {
            end = path.rfind('/', start + PATH_MAX - 1);
            if (end == std::string::npos || end <= start) {
                ::close(fd);
                errno = ENAMETOOLONG;
                return -1;
            }
        }
        std::string piece = path.substr(start, end - start);
        int next = ::openat(fd, piece.c_str(), kOpenFlags);
        int saved = errno;
        ::close(fd);
        errno = saved;
        fd = next;
        start = end + 1;
    }
    return fd;
}

}  // namespace

DirectoryHandle DirectoryReader::openDirectoryOnDevice(const std::string& path,
                                                       std::uint32_t devMajor,
                                                       std::uint32_t devMinor, int parentFd) {
    DirectoryHandle dir;
    const std::size_t slash = path.rfind('/');
    if (parentFd >= 0 && slash != std::string::npos && slash + 1 < path.size()) {
        dir.fd = ::openat(parentFd, path.c_str() + slash + 1, kOpenFlags);
    } else {
        dir.fd = ::open(path.c_str(), kOpenFlags);
    }
    if (dir.fd < 0 && errno == ENAMETOOLONG && !path.empty() && path.front() == '/') {
        dir.fd = openLongPath(path);
    }
    dir.devMajor = devMajor;
    dir.devMinor = devMinor;
    return dir;
}

DirectoryHandle DirectoryReader::openDirectory(const std::string& path) {
    DirectoryHandle dir = openDirectoryOnDevice(path, 0, 0);
    if (dir.fd < 0) {
        return dir;
    }
    struct statx self {};
    if (::statx(dir.fd, "", AT_EMPTY_PATH, STATX_TYPE | STATX_BLOCKS, &self) == 0) {
        dir.devMajor = self.stx_dev_major;
        dir.devMinor = self.stx_dev_minor;
        dir.allocatedSize = self.stx_blocks * 512;
    }
    return dir;
}

BatchCounts DirectoryReader::readBatch(const DirectoryHandle& dir, char* buffer, std::size_t size,
                                       std::vector<DirectoryEntry>& out) {
    out.clear();
    BatchCounts counts;
    // A batch holding only "." and ".." is not the end of the folder.
    while (counts.read == 0) {
        long bytes = ::syscall(SYS_getdents64, dir.fd, buffer, size);
        if (bytes <= 0) {
            counts.read = bytes == 0 ? 0 : -1;
            return counts;
        }
        counts = parseBatch(dir, buffer, bytes, out);
    }
    return counts;
}

BatchCounts DirectoryReader::parseBatch(const DirectoryHandle& dir, const char* buffer, long bytes,
                                        std::vector<DirectoryEntry>& out) {
    BatchCounts counts;
    for (long offset = 0; offset < bytes;) {
        const auto* record = reinterpret_cast<const LinuxDirent64*>(buffer + offset);
        offset += record->d_reclen;
        const char* name = reinterpret_cast<const char*>(record) + kNameOffset;
        if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'))) {
            continue;
        }
        ++counts.read;
        // Filled whole by a call that succeeds; clearing it first would cost
        // more than the rest of this loop.
        struct statx info;
        if (::statx(dir.fd, name, AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT | AT_STATX_DONT_SYNC,
                    STATX_TYPE | STATX_MODE | STATX_SIZE | STATX_BLOCKS | STATX_NLINK | STATX_INO,
                    &info) != 0) {
            // Vanished since it was listed: it simply is not there. Refused:
            // the folder may be listed but not searched.
            if (errno == EACCES) {
                ++counts.refused;
            }
            continue;
        }
        DirectoryEntry entry;
        entry.name = std::string_view(name);
        entry.type = typeOf(info.stx_mode);
        entry.logicalSize = info.stx_size;
        entry.allocatedSize = info.stx_blocks * 512;
        entry.inode = info.stx_ino;
        entry.linkCount = info.stx_nlink;
        if (entry.type == EntryType::Directory) {
            bool mountRoot = (info.stx_attributes_mask & STATX_ATTR_MOUNT_ROOT) != 0 &&
                             (info.stx_attributes & STATX_ATTR_MOUNT_ROOT) != 0;
            entry.isMountPoint = mountRoot || info.stx_dev_major != dir.devMajor ||
                                 info.stx_dev_minor != dir.devMinor;
        }
        out.push_back(entry);
    }
    return counts;
}

int DirectoryReader::close(const DirectoryHandle& dir) {
    return ::close(dir.fd);
}

}  // namespace korvex::platform
