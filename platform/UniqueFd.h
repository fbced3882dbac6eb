#pragma once

#include <unistd.h>

#include <cerrno>
#include <utility>

namespace korvex::platform {

// One open descriptor, closed when the object goes.
class UniqueFd {
  public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : mFd(fd) {}
    ~UniqueFd() {
        if (mFd >= 0) {
            ::close(mFd);
        }
    }
    UniqueFd(UniqueFd&& other) noexcept : mFd(std::exchange(other.mFd, -1)) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept {
        std::swap(mFd, other.mFd);
        return *this;
    }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;

    int get() const { return mFd; }
    // Hands the descriptor to a new owner.
    int release() { return std::exchange(mFd, -1); }
    bool valid() const { return mFd >= 0; }
    // Closes now, answering close's error (a delayed write error shows here).
    int close() {
        const int result = ::close(mFd);
        mFd = -1;
        return result == 0 ? 0 : errno;
    }

  private:
    int mFd = -1;
};

}  // namespace korvex::platform
