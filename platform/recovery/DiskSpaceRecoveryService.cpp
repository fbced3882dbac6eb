#include "platform/recovery/DiskSpaceRecoveryService.h"

#include "platform/UserFolders.h"
#include "platform/dispatch/SerialQueue.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <set>
#include <utility>

namespace korvex::platform {

namespace {

constexpr std::uint64_t kBlockBytes = 512;

// Visits every entry below the open folder `dirFd` that lies on `device`,
// children before their folder, with the folder's descriptor and the entry's
// name and status. Entries on other devices (mount points) are not entered.
template <class Visit>
void forEachEntryBelow(int dirFd, dev_t device, const Visit& visit) {
    int listFd = ::dup(dirFd);
    if (listFd < 0) {
        return;
    }
    DIR* dir = ::fdopendir(listFd);
    if (dir == nullptr) {
        ::close(listFd);
        return;
    }
    std::vector<std::string> names;
    while (dirent* entry = ::readdir(dir)) {
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0) {
            names.emplace_back(entry->d_name);
        }
    }
    ::closedir(dir);
    for (const std::string& name : names) {
        struct stat info {};
        if (::fstatat(dirFd, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0 ||
            info.st_dev != device) {
            continue;
        }
        if (S_ISDIR(info.st_mode)) {
            int childFd =
                ::openat(dirFd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            if (childFd >= 0) {
                forEachEntryBelow(childFd, device, visit);
                ::close(childFd);
            }
        }
        visit(dirFd, name, info);
    }
}

// Counts the blocks of an entry once, however many hard links reach it.
class BlockCounter {
  public:
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

// Runs `body(folderFd, device)` for each cache folder on the volume of `volumePath`.
template <class Body>
void forEachCacheFolderOnVolume(const std::vector<std::string>& folders,
                                const std::string& volumePath, const Body& body) {
    struct stat volume {};
    if (::stat(volumePath.c_str(), &volume) != 0) {
        return;
    }
    for (const std::string& folder : folders) {
        int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0) {
            continue;
        }
        struct stat info {};
        if (::fstat(fd, &info) == 0 && info.st_dev == volume.st_dev) {
            body(fd, volume.st_dev);
        }
        ::close(fd);
    }
}

}  // namespace

DiskSpaceRecoveryService::DiskSpaceRecoveryService(std::vector<std::string> cacheFolders)
    : mCacheFolders(std::move(cacheFolders)) {}

const DiskSpaceRecoveryService& DiskSpaceRecoveryService::shared() {
    static const DiskSpaceRecoveryService service({UserFolders::current().cacheHome()});
    return service;
}

std::uint64_t DiskSpaceRecoveryService::recoveryEstimate(const std::string& volumePath) const {
    BlockCounter counter;
    forEachCacheFolderOnVolume(mCacheFolders, volumePath, [&](int fd, dev_t device) {
        forEachEntryBelow(fd, device, [&](int, const std::string&, const struct stat& info) {
            counter.add(info);
        });
    });
    return counter.bytes;
}

DiskSpaceRecoveryService::Release DiskSpaceRecoveryService::release(
    const std::string& volumePath) const {
    Release result;
    std::uint64_t before = recoveryEstimate(volumePath);
    forEachCacheFolderOnVolume(mCacheFolders, volumePath, [&](int fd, dev_t device) {
        forEachEntryBelow(fd, device,
                          [&](int parentFd, const std::string& name, const struct stat& info) {
                              int flags = S_ISDIR(info.st_mode) ? AT_REMOVEDIR : 0;
                              if (::unlinkat(parentFd, name.c_str(), flags) == 0) {
                                  ++result.removed;
                              } else if (!result.firstError && errno != ENOTEMPTY) {
                                  // A folder that keeps an entry refused before is no news.
                                  result.firstError = name + ": " + std::strerror(errno);
                              }
                          });
    });
    std::uint64_t after = recoveryEstimate(volumePath);
    result.bytes = before > after ? before - after : 0;
    return result;
}

void DiskSpaceRecoveryService::startRecovery(const std::string& volumePath, std::uint64_t,
                                             SerialQueue& queue, Callback callback) const {
    queue.async([this, volumePath, callback = std::move(callback)] {
        Release result = release(volumePath);
        if (result.removed == 0 && result.firstError) {
            callback(false, 0, result.firstError);
        } else {
            callback(true, result.bytes, std::nullopt);
        }
    });
}

}  // namespace korvex::platform
