#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <thread>

namespace korvex::platform {

class DispatchGroup;

// The process's main queue: any thread posts blocks, and the thread that
// drives the queue runs them in order, together with the timers that are due.
// Without a GUI the queue is driven by runUntil() (tests, the command-line
// tool); a GUI event loop installs a Driver and calls runPending() when asked.
class MainQueue {
  public:
    using Clock = std::chrono::steady_clock;
    using Block = std::function<void()>;
    using TimerId = std::uint64_t;

    // How an event loop is told that the queue needs serving.
    class Driver {
      public:
        virtual ~Driver() = default;
        // A block was posted: call runPending() soon, on the main thread.
        virtual void wakeSoon() = 0;
        // The next timer is due at `when`.
        virtual void wakeAt(Clock::time_point when) = 0;
    };

    static MainQueue& shared();

    void async(Block block);
    // Counts the block in `group` until it has run.
    void async(DispatchGroup& group, Block block);
    TimerId after(Clock::duration delay, Block block);
    TimerId scheduleRepeating(Clock::duration interval, Block block);
    void cancelTimer(TimerId id);

    // Runs what is queued now and the timers that are due; answers how many ran.
    std::size_t runPending();
    // Serves the queue until `done` answers true or the deadline passes;
    // answers `done()` at the end.
    bool runUntil(const std::function<bool()>& done,
                  Clock::duration limit = Clock::duration::max());

    void setDriver(Driver* driver);
    // The calling thread becomes the main thread.
    void bindToCurrentThread();
    bool isMainThread() const;

  private:
    struct Timer {
        Clock::time_point due;
        Clock::duration interval;  // zero for one-shot timers
        std::shared_ptr<Block> block;
    };

    MainQueue() = default;
    TimerId addTimer(Clock::duration delay, Clock::duration interval, Block block);
    std::size_t runDueTimers();
    void tellDriverAboutTimers(std::unique_lock<std::mutex>& guard);
    Clock::time_point nextDueLocked() const;

    mutable std::mutex mMutex;
    std::condition_variable mPosted;
    std::deque<Block> mBlocks;
    std::map<TimerId, Timer> mTimers;
    TimerId mNextTimer = 1;
    Driver* mDriver = nullptr;
    std::thread::id mMainThread;
};

// True on the thread that drives the main queue.
inline bool isMainThread() {
    return MainQueue::shared().isMainThread();
}

}  // namespace korvex::platform
