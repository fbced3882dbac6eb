#pragma once

#include "platform/UniqueFd.h"

#include <sys/resource.h>

#include <algorithm>
#include <atomic>
#include <memory>

namespace korvex {

// An open folder held while its subfolders wait to be read, so that each of
// them is opened by its own name in it rather than by its whole path from
// the root. Closed with the last of them. The held folders of a scan are
// counted, and past a limit a folder is not held (its subfolders are opened
// by path): a deep tree must not use up the process's descriptors.
class FolderDescriptor {
  public:
    // How many folders a scan may hold: a quarter of the descriptors the
    // process may open, and no more than 256.
    static int mostHeld() {
        struct rlimit limit {};
        if (::getrlimit(RLIMIT_NOFILE, &limit) != 0) {
            return 0;
        }
        return static_cast<int>(std::min<rlim_t>(256, limit.rlim_cur / 4));
    }

    // Takes `fd` over when fewer than `most` folders are held in `held`;
    // otherwise answers null and leaves `fd` to the caller.
    static std::shared_ptr<const FolderDescriptor> hold(int fd, std::atomic<int>& held, int most) {
        if (held.fetch_add(1, std::memory_order_relaxed) >= most) {
            held.fetch_sub(1, std::memory_order_relaxed);
            return nullptr;
        }
        return std::make_shared<const FolderDescriptor>(fd, held);
    }

    FolderDescriptor(int fd, std::atomic<int>& held) : mFd(fd), mHeld(held) {}
    ~FolderDescriptor() { mHeld.fetch_sub(1, std::memory_order_relaxed); }
    FolderDescriptor(const FolderDescriptor&) = delete;
    FolderDescriptor& operator=(const FolderDescriptor&) = delete;

    int get() const { return mFd.get(); }

  private:
    platform::UniqueFd mFd;
    std::atomic<int>& mHeld;
};

}  // namespace korvex
