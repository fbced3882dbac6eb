#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace korvex::platform {

// One watched path. The path is held open for notification only (O_PATH: no
// read or write rights are needed), so that the watch follows the file itself
// even when it is renamed, like a descriptor-based kernel queue registration.
class VDKQueuePathEntry {
  public:
    // Nothing is made when the path cannot be opened.
    static std::unique_ptr<VDKQueuePathEntry> create(const std::string& inPath,
                                                     std::uint32_t flags);
    ~VDKQueuePathEntry();
    VDKQueuePathEntry(const VDKQueuePathEntry&) = delete;
    VDKQueuePathEntry& operator=(const VDKQueuePathEntry&) = delete;

    const std::string& path() const { return _path; }
    int watchedFD() const { return _watchedFD; }
    std::uint32_t subscriptionFlags() const { return _subscriptionFlags; }
    void setSubscriptionFlags(std::uint32_t flags) { _subscriptionFlags = flags; }

  private:
    VDKQueuePathEntry(std::string inPath, int fd, std::uint32_t flags)
        : _path(std::move(inPath)), _watchedFD(fd), _subscriptionFlags(flags) {}

    std::string _path;
    int _watchedFD = -1;
    std::uint32_t _subscriptionFlags = 0;
};

}  // namespace korvex::platform
