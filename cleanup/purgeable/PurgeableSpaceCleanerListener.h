#pragma once

#include <string>
#include <vector>

namespace korvex {

class VolumeSystemItem;

// The removal collection's side of the cleaner; called on the main queue.
class PurgeableSpaceCleanerListener {
  public:
    virtual ~PurgeableSpaceCleanerListener() = default;
    // A free-up started (true) or ended (false).
    virtual void purgeableSpaceCleanerStateChanged(bool recovering) = 0;
    // Entries of `volume` that vanished from disk with the purgeable space;
    // the cleaner has already taken them out of the tree.
    virtual void purgeableSpaceCleanerNotifyAboutPerformRecovery(
        VolumeSystemItem& volume, const std::vector<std::string>& cleanedFilePaths) = 0;
};

}  // namespace korvex
