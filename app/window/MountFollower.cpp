#include "app/window/MountFollower.h"

#include <QSocketNotifier>

#include <fcntl.h>
#include <unistd.h>

#include <utility>

namespace korvex {

namespace {
QString qtPath(const std::string& path) {
    return QString::fromUtf8(path.data(), static_cast<qsizetype>(path.size()));
}
}  // namespace

MountFollower::MountFollower(PathsSource currentPaths, QObject* parent)
    : QObject(parent), mCurrentPaths(std::move(currentPaths)) {
    for (std::string& path : mCurrentPaths()) {
        mKnown.insert(std::move(path));
    }
    mFd = ::open("/proc/self/mountinfo", O_RDONLY | O_CLOEXEC);
    if (mFd < 0) {
        return;  // no change notices: the periodic volume refresh still runs
    }
    rearm();
    mNotifier = new QSocketNotifier(mFd, QSocketNotifier::Exception, this);
    connect(mNotifier, &QSocketNotifier::activated, this, [this] {
        rearm();
        check();
    });
}

MountFollower::~MountFollower() {
    if (mFd >= 0) {
        ::close(mFd);
    }
}

// The kernel raises the flag again only after the table was read through.
void MountFollower::rearm() {
    char buffer[8192];
    ::lseek(mFd, 0, SEEK_SET);
    while (::read(mFd, buffer, sizeof buffer) > 0) {
    }
}

void MountFollower::check() {
    std::set<std::string> now;
    for (std::string& path : mCurrentPaths()) {
        now.insert(std::move(path));
    }
    const std::set<std::string> before = std::exchange(mKnown, now);
    for (const std::string& path : before) {
        if (now.count(path) == 0) {
            emit unmounted(qtPath(path));
        }
    }
    for (const std::string& path : now) {
        if (before.count(path) == 0) {
            emit mounted(qtPath(path));
        }
    }
}

}  // namespace korvex
