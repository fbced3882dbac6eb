#include "platform/fs/AllocatedTreeSize.h"

#include "platform/fs/EntryWalk.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace korvex::platform {

std::optional<std::uint64_t> allocatedTreeSize(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) {
        return std::nullopt;
    }
    AllocatedBytesCounter counter;
    counter.add(info);
    if (!S_ISDIR(info.st_mode)) {
        return counter.bytes;
    }
    int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        return std::nullopt;
    }
    const int error = forEachEntryBelow(
        fd, info.st_dev,
        [&](int, const std::string&, const struct stat& entry) { counter.add(entry); });
    ::close(fd);
    if (error != 0) {
        return std::nullopt;
    }
    return counter.bytes;
}

}  // namespace korvex::platform
