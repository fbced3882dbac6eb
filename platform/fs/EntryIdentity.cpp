#include "platform/fs/EntryIdentity.h"

#include <fcntl.h>
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

std::optional<EntryIdentity> entryIdentityAt(int folder, const char* name) {
    struct stat info {};
    if (::fstatat(folder, name, &info, AT_SYMLINK_NOFOLLOW) != 0) {
        return std::nullopt;
    }
    return EntryIdentity{static_cast<std::uint64_t>(info.st_dev),
                         static_cast<std::uint64_t>(info.st_ino)};
}

int openFolderForIdentities(int folder, const char* name) {
    return ::openat(folder < 0 ? AT_FDCWD : folder, name,
                    O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

}  // namespace korvex::platform
