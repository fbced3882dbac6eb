#include "platform/watch/VDKQueue.h"

#include "platform/dispatch/MainQueue.h"
#include "platform/dispatch/NotificationCenter.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cstring>
#include <exception>
#include <utility>

namespace korvex::platform {

namespace {

constexpr std::array<std::pair<std::uint32_t, const char*>, 7> kNotificationOrder{{
    {VDKQueueRename, VDKQueueRenameNotification},
    {VDKQueueWrite, VDKQueueWriteNotification},
    {VDKQueueDelete, VDKQueueDeleteNotification},
    {VDKQueueAttrib, VDKQueueAttributeChangeNotification},
    {VDKQueueExtend, VDKQueueSizeIncreaseNotification},
    {VDKQueueLinkChange, VDKQueueLinkCountChangeNotification},
    {VDKQueueRevoke, VDKQueueAccessRevocationNotification},
}};

// Entries of a folder appearing, going or being renamed: a write of the
// folder, and for subfolders a change of its link count.
constexpr std::uint32_t kFolderEntryEvents = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO;
constexpr std::uint32_t kFolderGrowEvents = IN_CREATE | IN_MOVED_TO;

std::string descriptorPath(int fd) {
    return "/proc/self/fd/" + std::to_string(fd);
}

}  // namespace

std::vector<std::string> VDKQueueNotificationNames(std::uint32_t flags) {
    std::vector<std::string> names;
    for (const auto& [bit, name] : kNotificationOrder) {
        if ((flags & bit) != 0) {
            names.emplace_back(name);
        }
    }
    return names;
}

std::shared_ptr<VDKQueue> VDKQueue::create() {
    const int queueFD = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (queueFD < 0) {
        return nullptr;
    }
    const int wakeFD = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (wakeFD < 0) {
        ::close(queueFD);
        return nullptr;
    }
    return std::shared_ptr<VDKQueue>(new VDKQueue(queueFD, wakeFD));
}

VDKQueue::~VDKQueue() {
    _keepWatcherThreadRunning = false;
    const std::uint64_t one = 1;
    [[maybe_unused]] auto written = ::write(mWakeFD, &one, sizeof one);
    if (mThread.joinable()) {
        // The last reference may be dropped by the watcher thread itself.
        if (mThread.get_id() == std::this_thread::get_id()) {
            mThread.detach();
            ::close(_coreQueueFD);  // the thread returns without touching it
        } else {
            mThread.join();
        }
    } else {
        ::close(_coreQueueFD);
    }
    removeAllPaths();
    ::close(mWakeFD);
}

void VDKQueue::addPath(const std::string& aPath) {
    addPath(aPath, VDKQueueNotifyDefault);
}

void VDKQueue::addPath(const std::string& aPath, std::uint32_t flags) {
    if (aPath.empty()) {
        return;
    }
    {
        std::lock_guard guard(mMonitor);
        if (_watchedPathEntries.count(aPath) != 0) {
            return;
        }
    }
    addPathToQueue(aPath, flags);
}

VDKQueuePathEntry* VDKQueue::addPathToQueue(const std::string& path, std::uint32_t flags) {
    std::lock_guard guard(mMonitor);
    VDKQueuePathEntry* entry = nullptr;
    if (auto known = _watchedPathEntries.find(path); known != _watchedPathEntries.end()) {
        entry = known->second.get();
        if ((entry->subscriptionFlags() | flags) == entry->subscriptionFlags()) {
            return entry;
        }
        entry->setSubscriptionFlags(entry->subscriptionFlags() | flags);
        if (!registerEntry(*entry)) {
            return nullptr;
        }
        return entry;
    }
    auto made = VDKQueuePathEntry::create(path, flags);
    if (!made || !registerEntry(*made)) {
        return nullptr;
    }
    entry = made.get();
    _watchedPathEntries.emplace(path, std::move(made));
    if (!mThread.joinable()) {
        _keepWatcherThreadRunning = true;
        mThread = std::thread([this] { watcherThread(); });
    }
    return entry;
}

std::uint32_t VDKQueue::inotifyMaskForWatch(const Watch& watch, std::uint32_t flags) const {
    for (const std::string& path : watch.paths) {
        if (auto entry = _watchedPathEntries.find(path); entry != _watchedPathEntries.end()) {
            flags |= entry->second->subscriptionFlags();
        }
    }
    std::uint32_t mask = 0;
    if ((flags & VDKQueueRename) != 0) {
        mask |= IN_MOVE_SELF;
    }
    if ((flags & VDKQueueWrite) != 0) {
        mask |= watch.isFolder ? kFolderEntryEvents : IN_MODIFY;
    }
    if ((flags & VDKQueueDelete) != 0) {
        // The attribute event tells of the last link going (see handleEvents).
        mask |= IN_DELETE_SELF | IN_ATTRIB;
    }
    if ((flags & VDKQueueAttrib) != 0) {
        mask |= IN_ATTRIB;
    }
    if ((flags & VDKQueueExtend) != 0) {
        mask |= watch.isFolder ? kFolderGrowEvents : IN_MODIFY;
    }
    if ((flags & VDKQueueLinkChange) != 0) {
        // A file's link count changes with an attribute event; a folder's
        // with the subfolders made or removed in it.
        mask |= IN_ATTRIB | (watch.isFolder ? kFolderEntryEvents : 0);
    }
    // Unmounts (the revoke bit) are always reported by inotify.
    return mask;
}

bool VDKQueue::registerEntry(const VDKQueuePathEntry& entry) {
    struct stat info {};
    if (::fstat(entry.watchedFD(), &info) != 0) {
        return false;
    }
    // The descriptor's /proc link reaches the file it was opened on, so the
    // watch follows that file, not whatever later takes its path.
    const int wd = ::inotify_add_watch(_coreQueueFD, descriptorPath(entry.watchedFD()).c_str(),
                                       IN_MASK_ADD | IN_MOVE_SELF | IN_DELETE_SELF);
    if (wd < 0) {
        return false;
    }
    Watch& watch = mWatches[wd];
    watch.isFolder = S_ISDIR(info.st_mode);
    watch.size = info.st_size;
    watch.linkCount = info.st_nlink;
    if (mWatchOfPath.emplace(entry.path(), wd).second) {
        watch.paths.push_back(entry.path());
    }
    const std::uint32_t mask = inotifyMaskForWatch(watch, entry.subscriptionFlags());
    if (mask != 0) {
        ::inotify_add_watch(_coreQueueFD, descriptorPath(entry.watchedFD()).c_str(), mask);
    }
    return true;
}

void VDKQueue::forgetEntry(const VDKQueuePathEntry& entry) {
    auto wdOfPath = mWatchOfPath.find(entry.path());
    if (wdOfPath == mWatchOfPath.end()) {
        return;
    }
    const int wd = wdOfPath->second;
    mWatchOfPath.erase(wdOfPath);
    auto watch = mWatches.find(wd);
    if (watch == mWatches.end()) {
        return;
    }
    std::erase(watch->second.paths, entry.path());
    if (watch->second.paths.empty()) {
        ::inotify_rm_watch(_coreQueueFD, wd);
        mWatches.erase(watch);
    }
}

void VDKQueue::removePath(const std::string& aPath) {
    std::lock_guard guard(mMonitor);
    auto entry = _watchedPathEntries.find(aPath);
    if (entry == _watchedPathEntries.end()) {
        return;
    }
    forgetEntry(*entry->second);
    _watchedPathEntries.erase(entry);
}

void VDKQueue::removeAllPaths() {
    std::lock_guard guard(mMonitor);
    for (const auto& [path, entry] : _watchedPathEntries) {
        forgetEntry(*entry);
    }
    _watchedPathEntries.clear();
}

std::size_t VDKQueue::numberOfWatchedPaths() const {
    std::lock_guard guard(mMonitor);
    return _watchedPathEntries.size();
}

std::uint32_t VDKQueue::subscriptionFlagsForPath(const std::string& aPath) const {
    std::lock_guard guard(mMonitor);
    auto entry = _watchedPathEntries.find(aPath);
    return entry == _watchedPathEntries.end() ? 0 : entry->second->subscriptionFlags();
}

void VDKQueue::watcherThread() {
    alignas(inotify_event) std::array<char, 64 * 1024> buffer{};
    while (_keepWatcherThreadRunning) {
        std::array<pollfd, 2> fds{{{_coreQueueFD, POLLIN, 0}, {mWakeFD, POLLIN, 0}}};
        if (::poll(fds.data(), fds.size(), 1000) <= 0 || (fds[0].revents & POLLIN) == 0) {
            continue;
        }
        const ssize_t length = ::read(_coreQueueFD, buffer.data(), buffer.size());
        if (length <= 0) {
            continue;
        }
        // One read may hold several events for one file; like a kernel queue
        // registration with clear-on-read, they make one report.
        std::map<int, std::uint32_t> masks;
        for (ssize_t offset = 0; offset < length;) {
            inotify_event event{};
            std::memcpy(&event, buffer.data() + offset, sizeof event);
            offset += static_cast<ssize_t>(sizeof event + event.len);
            if (event.wd >= 0 && event.mask != 0) {
                masks[event.wd] |= event.mask;
            }
        }
        // Deliveries keep the watcher alive, so this thread may end up with
        // the last reference; then the watcher goes here, and nothing of it
        // may be touched afterwards.
        const std::weak_ptr<VDKQueue> weak = weak_from_this();
        std::shared_ptr<VDKQueue> self = weak.lock();
        if (!self) {
            break;  // being destroyed elsewhere, which waits for this thread
        }
        for (const auto& [wd, mask] : masks) {
            try {
                handleEvents(wd, mask);
            } catch (const std::exception&) {
                // One bad event never stops the watcher.
            }
        }
        self.reset();
        if (weak.expired()) {
            return;
        }
    }
    ::close(_coreQueueFD);
}

void VDKQueue::handleEvents(int wd, std::uint32_t inotifyMask) {
    std::vector<std::pair<std::string, std::uint32_t>> reports;
    {
        std::lock_guard guard(mMonitor);
        auto found = mWatches.find(wd);
        if (found == mWatches.end() || found->second.paths.empty()) {
            return;
        }
        Watch& watch = found->second;
        const auto& firstEntry = _watchedPathEntries.at(watch.paths.front());
        struct stat info {};
        const bool stated = ::fstat(firstEntry->watchedFD(), &info) == 0;
        const bool grew = stated && info.st_size > watch.size;
        const bool linksChanged = stated && info.st_nlink != watch.linkCount && info.st_nlink > 0;
        if (stated) {
            watch.size = info.st_size;
            watch.linkCount = info.st_nlink;
        }

        std::uint32_t bits = 0;
        if ((inotifyMask & IN_MOVE_SELF) != 0) {
            bits |= VDKQueueRename;
        }
        if ((inotifyMask & (watch.isFolder ? kFolderEntryEvents : IN_MODIFY)) != 0) {
            bits |= VDKQueueWrite;
        }
        if ((inotifyMask & IN_DELETE_SELF) != 0) {
            bits |= VDKQueueDelete;
        }
        if ((inotifyMask & IN_ATTRIB) != 0 && !linksChanged && info.st_nlink != 0) {
            bits |= VDKQueueAttrib;
        }
        // While the watch holds the file open, its removal shows as the link
        // count dropping to zero; the kernel's own deletion event waits for
        // the last descriptor to close.
        if (stated && info.st_nlink == 0) {
            bits |= VDKQueueDelete;
        }
        if (watch.isFolder ? (inotifyMask & kFolderGrowEvents) != 0 : grew) {
            bits |= VDKQueueExtend;
        }
        if (linksChanged) {
            bits |= VDKQueueLinkChange;
        }
        if ((inotifyMask & IN_UNMOUNT) != 0) {
            bits |= VDKQueueRevoke;
        }
        for (const std::string& path : watch.paths) {
            const std::uint32_t wanted = bits & _watchedPathEntries.at(path)->subscriptionFlags();
            if (wanted != 0) {
                reports.emplace_back(path, wanted);
            }
        }
        if ((inotifyMask & IN_IGNORED) != 0) {
            // The file is gone or unmounted: the kernel dropped the watch.
            for (const std::string& path : watch.paths) {
                mWatchOfPath.erase(path);
            }
            mWatches.erase(found);
        }
    }
    // Desktop file managers watch the file system themselves; nobody needs to
    // be told of the change here.
    std::shared_ptr<VDKQueue> self = weak_from_this().lock();
    if (!self) {
        return;
    }
    for (auto& [path, bits] : reports) {
        MainQueue::shared().async([self, names = VDKQueueNotificationNames(bits),
                                   path = std::move(path)] { self->deliver(names, path); });
    }
}

void VDKQueue::deliver(const std::vector<std::string>& names, const std::string& path) {
    for (const std::string& name : names) {
        if (_delegate != nullptr) {
            _delegate->VDKQueue(this, name, path);
        }
        if (_delegate == nullptr || _alwaysPostNotifications) {
            NotificationCenter::workspaceCenter().post(
                name, VDKQueueNotification{shared_from_this(), {{"path", path}}});
        }
    }
}

}  // namespace korvex::platform
