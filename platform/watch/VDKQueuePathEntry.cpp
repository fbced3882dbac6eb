#include "platform/watch/VDKQueuePathEntry.h"

#include <fcntl.h>
#include <unistd.h>

#include <memory>

namespace korvex::platform {

std::unique_ptr<VDKQueuePathEntry> VDKQueuePathEntry::create(const std::string& inPath,
                                                             std::uint32_t flags) {
    const int fd = ::open(inPath.c_str(), O_PATH | O_CLOEXEC);
    if (fd < 0) {
        return nullptr;
    }
    return std::unique_ptr<VDKQueuePathEntry>(new VDKQueuePathEntry(inPath, fd, flags));
}

VDKQueuePathEntry::~VDKQueuePathEntry() {
    if (_watchedFD >= 0) {
        ::close(_watchedFD);
        _watchedFD = -1;
    }
}

}  // namespace korvex::platform
