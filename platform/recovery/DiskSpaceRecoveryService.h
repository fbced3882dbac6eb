#pragma once

#include "platform/recovery/CacheFolderCheck.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace korvex::platform {

class SerialQueue;

// Space on a volume that can be given back without losing anything the user
// made: the contents of the user's cache folders (by the XDG base-directory
// rules, non-essential data that programs rebuild) lying on that volume. The
// cache folders themselves stay; entries on other volumes mounted below them
// are neither counted nor removed, and symbolic links are removed, never
// followed. A cache folder that openCacheFolderToEmpty() refuses (the home
// folder, say, when XDG_CACHE_HOME points there) is neither counted nor
// touched, and a release over it fails with the reason.
class DiskSpaceRecoveryService {
  public:
    // A release ends with the bytes it gave back, or with an error text when
    // nothing could be removed.
    using Callback =
        std::function<void(bool finished, std::uint64_t bytes, std::optional<std::string> error)>;

    explicit DiskSpaceRecoveryService(std::vector<std::string> cacheFolders,
                                      CacheFolderOwner owner = CacheFolderOwner::current());
    // The service over $XDG_CACHE_HOME of the current user.
    static const DiskSpaceRecoveryService& shared();

    const std::vector<std::string>& cacheFolders() const { return mCacheFolders; }

    // Allocated bytes of the cache contents on the volume that holds
    // `volumePath`; 0 when that path cannot be examined. Reads the folders, so
    // callers run it on a queue of their own.
    std::uint64_t recoveryEstimate(const std::string& volumePath) const;

    // The cache folders a release on that volume would empty, or why a
    // release must not run: the first cache folder refused. Cheap enough
    // for the main queue; the contents are not read.
    std::variant<std::vector<std::string>, std::string> foldersToEmpty(
        const std::string& volumePath) const;

    // Removes the cache contents on that volume on `queue` and calls back
    // there; the service must outlive the release. Everything is released,
    // whatever `bytesWanted` says: the caches cannot be emptied in part
    // without picking what to keep.
    void startRecovery(const std::string& volumePath, std::uint64_t bytesWanted, SerialQueue& queue,
                       Callback callback) const;

  private:
    struct Release {
        std::uint64_t bytes = 0;
        std::size_t removed = 0;
        std::optional<std::string> firstError;
    };
    Release release(const std::string& volumePath) const;
    // Runs `body(folderFd, device, path)` for each cache folder on the volume
    // and `refused(reason)` for each folder that must not be emptied.
    template <class Body, class Refused>
    void forEachCacheFolderOnVolume(const std::string& volumePath, const Body& body,
                                    const Refused& refused) const;

    std::vector<std::string> mCacheFolders;
    CacheFolderOwner mOwner;
};

}  // namespace korvex::platform
