#include "platform/recovery/DiskSpaceRecoveryService.h"

#include "platform/UserFolders.h"
#include "platform/dispatch/SerialQueue.h"
#include "platform/fs/EntryWalk.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

namespace korvex::platform {

namespace {

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
    AllocatedBytesCounter counter;
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
