#pragma once

#include <unistd.h>

#include <cerrno>
#include <utility>

namespace korvex::platform {

// One open file descriptor, closed when it goes.
class Descriptor {
  public:
    explicit Descriptor(int fd = -1) : mFd(fd) {}
    ~Descriptor() {
        if (mFd >= 0) {
            ::close(mFd);
        }
    }
    Descriptor(Descriptor&& other) noexcept : mFd(std::exchange(other.mFd, -1)) {}
    Descriptor& operator=(Descriptor&& other) noexcept {
        std::swap(mFd, other.mFd);
        return *this;
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int get() const { return mFd; }
    bool valid() const { return mFd >= 0; }
    // Closes now, answering close's error (a delayed write error shows here).
    int close() {
        const int result = ::close(mFd);
        mFd = -1;
        return result == 0 ? 0 : errno;
    }

  private:
    int mFd;
};

}  // namespace korvex::platform
