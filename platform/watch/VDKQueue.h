#pragma once

#include "platform/watch/VDKQueuePathEntry.h"

#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace korvex::platform {

// Event bits of a watch, in the order their notifications are delivered.
inline constexpr std::uint32_t VDKQueueRename = 0x20;
inline constexpr std::uint32_t VDKQueueWrite = 0x02;
inline constexpr std::uint32_t VDKQueueDelete = 0x01;
inline constexpr std::uint32_t VDKQueueAttrib = 0x08;
inline constexpr std::uint32_t VDKQueueExtend = 0x04;
inline constexpr std::uint32_t VDKQueueLinkChange = 0x10;
inline constexpr std::uint32_t VDKQueueRevoke = 0x40;
inline constexpr std::uint32_t VDKQueueNotifyDefault = 127;

inline constexpr const char* VDKQueueRenameNotification = "VDKQueueFileRenamedNotification";
inline constexpr const char* VDKQueueWriteNotification = "VDKQueueFileWrittenToNotification";
inline constexpr const char* VDKQueueDeleteNotification = "VDKQueueFileDeletedNotification";
inline constexpr const char* VDKQueueAttributeChangeNotification =
    "VDKQueueFileAttributesChangedNotification";
inline constexpr const char* VDKQueueSizeIncreaseNotification =
    "VDKQueueFileSizeIncreasedNotification";
inline constexpr const char* VDKQueueLinkCountChangeNotification =
    "VDKQueueLinkCountChangedNotification";
inline constexpr const char* VDKQueueAccessRevocationNotification =
    "VDKQueueAccessWasRevokedNotification";

// The notification names for the set bits of `flags`, in delivery order.
std::vector<std::string> VDKQueueNotificationNames(std::uint32_t flags);

class VDKQueue;

class VDKQueueDelegate {
  public:
    virtual ~VDKQueueDelegate() = default;
    // Called on the main thread, once per notification name of an event.
    virtual void VDKQueue(class VDKQueue* queue, const std::string& noteName,
                          const std::string& fpath) = 0;
};

// The object of a notification posted on the workspace center.
struct VDKQueueNotification {
    std::shared_ptr<class VDKQueue> object;
    std::map<std::string, std::string> userInfo;  // {"path": the watched path}
};

// Tells its owner when watched files or folders are renamed, written,
// deleted, change attributes, grow, change link count or are unmounted. One
// background thread reads the events of an inotify instance; they are
// delivered on the main queue to the delegate and, when there is none or when
// asked, posted on NotificationCenter::workspaceCenter().
class VDKQueue : public std::enable_shared_from_this<VDKQueue> {
  public:
    // Nothing when the system refuses a new inotify instance.
    static std::shared_ptr<VDKQueue> create();
    ~VDKQueue();
    VDKQueue(const VDKQueue&) = delete;
    VDKQueue& operator=(const VDKQueue&) = delete;

    // Both ignore an empty path and one already watched.
    void addPath(const std::string& aPath);
    void addPath(const std::string& aPath, std::uint32_t flags);
    // Watches `path` for `flags` (a known path's mask widens to the union) and
    // answers its entry; nothing when the path cannot be watched.
    VDKQueuePathEntry* addPathToQueue(const std::string& path, std::uint32_t flags);
    void removePath(const std::string& aPath);
    void removeAllPaths();
    std::size_t numberOfWatchedPaths() const;
    // The mask of a watched path; 0 when it is not watched.
    std::uint32_t subscriptionFlagsForPath(const std::string& aPath) const;

    VDKQueueDelegate* delegate() const { return _delegate; }
    void setDelegate(VDKQueueDelegate* newDelegate) { _delegate = newDelegate; }
    bool alwaysPostNotifications() const { return _alwaysPostNotifications; }
    void setAlwaysPostNotifications(bool value) { _alwaysPostNotifications = value; }

  private:
    // What the watcher thread remembers of one watched file (an inotify watch
    // is per file, shared by every path that leads to it).
    struct Watch {
        std::vector<std::string> paths;
        bool isFolder = false;
        std::int64_t size = 0;
        std::uint64_t linkCount = 0;
    };

    VDKQueue(int queueFD, int wakeFD) : _coreQueueFD(queueFD), mWakeFD(wakeFD) {}
    bool registerEntry(const VDKQueuePathEntry& entry);
    void forgetEntry(const VDKQueuePathEntry& entry);
    // The inotify events for the masks of every path of `watch` and `flags`.
    std::uint32_t inotifyMaskForWatch(const Watch& watch, std::uint32_t flags) const;
    void watcherThread();
    void handleEvents(int wd, std::uint32_t inotifyMask);
    void deliver(const std::vector<std::string>& names, const std::string& path);

    VDKQueueDelegate* _delegate = nullptr;
    bool _alwaysPostNotifications = false;
    int _coreQueueFD = -1;
    // Wakes the thread at once when the watcher goes away.
    int mWakeFD = -1;
    std::map<std::string, std::unique_ptr<VDKQueuePathEntry>> _watchedPathEntries;
    std::map<int, Watch> mWatches;
    std::map<std::string, int> mWatchOfPath;
    std::atomic<bool> _keepWatcherThreadRunning{false};
    std::thread mThread;
    mutable std::mutex mMonitor;
};

}  // namespace korvex::platform
