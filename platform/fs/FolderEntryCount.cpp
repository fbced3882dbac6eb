#include "platform/fs/FolderEntryCount.h"

#include "platform/fs/DirectoryReader.h"

#include <dirent.h>
#include <unistd.h>

#include <cstring>

namespace korvex::platform {

std::optional<std::int64_t> countFolderEntries(const std::string& path) {
    // Opened as the walker opens folders, so that very long paths work too.
    const DirectoryHandle handle = DirectoryReader::openDirectory(path);
    if (!handle.valid()) {
        return std::nullopt;
    }
    DIR* dir = ::fdopendir(handle.fd);
    if (dir == nullptr) {
        ::close(handle.fd);
        return std::nullopt;
    }
    std::int64_t count = 0;
    while (const dirent* entry = ::readdir(dir)) {
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0) {
            ++count;
        }
    }
    ::closedir(dir);
    return count;
}

}  // namespace korvex::platform
