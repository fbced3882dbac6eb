#include "platform/fs/EntryIdentity.h"

#include <sys/stat.h>

namespace korvex::platform {

std::optional<EntryIdentity> entryIdentity(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) {
        return std::nullopt;
    }
    return EntryIdentity{static_cast<std::uint64_t>(info.st_dev),
                         static_cast<std::uint64_t>(info.st_ino)};
}

}  // namespace korvex::platform
