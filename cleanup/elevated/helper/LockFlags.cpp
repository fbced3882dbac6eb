#include "cleanup/elevated/helper/LockFlags.h"

#include <linux/fs.h>
#include <sys/ioctl.h>

namespace korvex::elevated {

std::optional<long> clearLockFlags(int fd) {
    long flags = 0;
    if (::ioctl(fd, FS_IOC_GETFLAGS, &flags) != 0) {
        return std::nullopt;
    }
    const long locks = FS_IMMUTABLE_FL | FS_APPEND_FL;
    if ((flags & locks) == 0) {
        return std::nullopt;
    }
    long cleared = flags & ~locks;
    if (::ioctl(fd, FS_IOC_SETFLAGS, &cleared) != 0) {
        return std::nullopt;
    }
    return flags;
}

void restoreLockFlags(int fd, long flags) {
    ::ioctl(fd, FS_IOC_SETFLAGS, &flags);
}

}  // namespace korvex::elevated
