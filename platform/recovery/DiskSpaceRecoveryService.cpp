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

template <class Body, class Refused>
void DiskSpaceRecoveryService::forEachCacheFolderOnVolume(const std::string& volumePath,
                                                          const Body& body,
                                                          const Refused& refused) const {
    struct stat volume {};
    if (::stat(volumePath.c_str(), &volume) != 0) {
        return;
    }
    for (const std::string& folder : mCacheFolders) {
        auto opened = openCacheFolderToEmpty(folder, mOwner);
        if (const auto* reason = std::get_if<std::string>(&opened)) {
            refused(*reason);
            continue;
        }
        const auto* fd = std::get_if<UniqueFd>(&opened);
        struct stat info {};
        if (fd != nullptr && ::fstat(fd->get(), &info) == 0 && info.st_dev == volume.st_dev) {
            body(fd->get(), volume.st_dev, folder);
        }
    }
}

DiskSpaceRecoveryService::DiskSpaceRecoveryService(std::vector<std::string> cacheFolders,
                                                   CacheFolderOwner owner)
    : mCacheFolders(std::move(cacheFolders)), mOwner(std::move(owner)) {}

const DiskSpaceRecoveryService& DiskSpaceRecoveryService::shared() {
    static const DiskSpaceRecoveryService service({UserFolders::current().cacheHome()});
    return service;
}

std::uint64_t DiskSpaceRecoveryService::recoveryEstimate(const std::string& volumePath) const {
    AllocatedBytesCounter counter;
    forEachCacheFolderOnVolume(
        volumePath,
        [&](int fd, dev_t device, const std::string&) {
            forEachEntryBelow(fd, device, [&](int, const std::string&, const struct stat& info) {
                counter.add(info);
            });
        },
        [](const std::string&) {});
    return counter.bytes;
}

std::variant<std::vector<std::string>, std::string> DiskSpaceRecoveryService::foldersToEmpty(
    const std::string& volumePath) const {
    std::vector<std::string> folders;
    std::optional<std::string> refusal;
    forEachCacheFolderOnVolume(
        volumePath, [&](int, dev_t, const std::string& folder) { folders.push_back(folder); },
        [&](const std::string& reason) {
            if (!refusal) {
                refusal = reason;
            }
        });
    if (refusal) {
        return *refusal;
    }
    return folders;
}

DiskSpaceRecoveryService::Release DiskSpaceRecoveryService::release(
    const std::string& volumePath) const {
    Release result;
    std::uint64_t before = recoveryEstimate(volumePath);
    auto refused = [&](const std::string& reason) {
        if (!result.firstError) {
            result.firstError = reason;
        }
    };
    forEachCacheFolderOnVolume(
        volumePath,
        [&](int fd, dev_t device, const std::string&) {
            forEachEntryBelow(fd, device,
                              [&](int parentFd, const std::string& name, const struct stat& info) {
                                  int flags = S_ISDIR(info.st_mode) ? AT_REMOVEDIR : 0;
                                  if (::unlinkat(parentFd, name.c_str(), flags) == 0) {
                                      ++result.removed;
                                  } else if (errno != ENOTEMPTY) {
                                      // A folder that keeps an entry refused before is no news.
                                      refused(name + ": " + std::strerror(errno));
                                  }
                              });
        },
        refused);
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
