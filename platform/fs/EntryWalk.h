#pragma once

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace korvex::platform {

// Walks below the open folder `dirFd`, children before their folder, calling
// `visit(folderFd, name, status)` for every entry on `device`. Entries on
// other devices (mount points) are neither visited nor entered; links are
// never followed. `enter(folderFd, name, status)` runs before a subfolder is
// opened (to make it readable, say). Answers 0, or the error number of the
// first folder that could not be opened or listed; the walk goes on past it.
template <class Visit, class Enter>
int forEachEntryBelow(int dirFd, dev_t device, const Visit& visit, const Enter& enter) {
    int listFd = ::dup(dirFd);
    if (listFd < 0) {
        return errno;
    }
    DIR* dir = ::fdopendir(listFd);
    if (dir == nullptr) {
        const int error = errno;
        ::close(listFd);
        return error;
    }
    std::vector<std::string> names;
    errno = 0;
    while (dirent* entry = ::readdir(dir)) {
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0) {
            names.emplace_back(entry->d_name);
        }
    }
    int firstError = errno;
    ::closedir(dir);
    for (const std::string& name : names) {
        struct stat info {};
        if (::fstatat(dirFd, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
            // Gone since the listing: nothing left to visit.
            continue;
        }
        if (info.st_dev != device) {
            continue;
        }
        if (S_ISDIR(info.st_mode)) {
            enter(dirFd, name, info);
            int childFd =
                ::openat(dirFd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            int childError = errno;
            if (childFd >= 0) {
                childError = forEachEntryBelow(childFd, device, visit, enter);
                ::close(childFd);
            }
            if (firstError == 0) {
                firstError = childError;
            }
        }
        visit(dirFd, name, info);
    }
    return firstError;
}

template <class Visit>
int forEachEntryBelow(int dirFd, dev_t device, const Visit& visit) {
    return forEachEntryBelow(dirFd, device, visit,
                             [](int, const std::string&, const struct stat&) {});
}

// Sums allocated bytes, counting an entry once however many hard links reach it.
class AllocatedBytesCounter {
  public:
    static constexpr std::uint64_t kBlockBytes = 512;

    void add(const struct stat& info) {
        if (!S_ISDIR(info.st_mode) && info.st_nlink > 1 &&
            !mLinked.emplace(info.st_dev, info.st_ino).second) {
            return;
        }
        bytes += static_cast<std::uint64_t>(info.st_blocks) * kBlockBytes;
    }
    std::uint64_t bytes = 0;

  private:
    std::set<std::pair<dev_t, ino_t>> mLinked;
};

}  // namespace korvex::platform
