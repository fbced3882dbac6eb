#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <vector>

namespace korvex::platform {

// Counts outstanding work: enter() before, leave() after. Waiters are released
// when the count drops to zero. Waiting on the main thread for blocks queued on
// the main queue would never end; only other threads wait on groups.
class DispatchGroup {
  public:
    DispatchGroup() = default;
    DispatchGroup(const DispatchGroup&) = delete;
    DispatchGroup& operator=(const DispatchGroup&) = delete;

    void enter();
    void leave();
    // Answers whether the group emptied within the limit.
    bool wait(std::chrono::milliseconds limit);
    void wait();
    // Waits until the group is empty or `stop` answers true; `stop` is asked
    // again after each wakeWaiters(). Answers whether the group emptied.
    bool waitUnless(const std::function<bool()>& stop);
    void wakeWaiters();
    // Runs `block` on the main queue once the group is empty (at once if it is).
    void notify(std::function<void()> block);
    bool isEmpty() const;

  private:
    mutable std::mutex mMutex;
    std::condition_variable mEmptied;
    long mCount = 0;
    std::vector<std::function<void()>> mNotify;
};

}  // namespace korvex::platform
