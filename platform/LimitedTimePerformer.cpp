#include "platform/LimitedTimePerformer.h"

#include <pthread.h>
#include <signal.h>
#include <syslog.h>
#include <time.h>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

namespace korvex::platform {

namespace {

// Limits of seconds need no finer clock than the scheduler's tick, and the
// coarse clock is the cheapest to read: a scan reads it around every
// directory call.
struct Clock {
    using rep = std::int64_t;
    static rep now() {
        struct timespec time {};
        ::clock_gettime(CLOCK_MONOTONIC_COARSE, &time);
        return rep{time.tv_sec} * 1'000'000'000 + time.tv_nsec;
    }
    static rep after(std::chrono::milliseconds limit) {
        return now() + std::chrono::nanoseconds(limit).count();
    }
};
constexpr auto kWatchdogTick = std::chrono::milliseconds(100);

struct CallSlot {
    pthread_t thread = pthread_self();
    std::atomic<Clock::rep> deadline{0};  // 0: no call running
    std::atomic<bool> interrupted{false};
};

struct Registry {
    std::mutex mutex;
    std::vector<CallSlot*> slots;
    std::set<std::string> hungPaths;
    std::atomic<bool> anyHung{false};
    int signal = SIGRTMIN + 3;
};

Registry& registry() {
    static Registry* instance = new Registry();  // lives as long as detached threads may
    return *instance;
}

void ignoreSignal(int) {}

void watchdog() {
    Registry& reg = registry();
    while (true) {
        std::this_thread::sleep_for(kWatchdogTick);
        const Clock::rep now = Clock::now();
        std::lock_guard guard(reg.mutex);
        for (CallSlot* slot : reg.slots) {
            Clock::rep deadline = slot->deadline.load(std::memory_order_acquire);
            if (deadline != 0 && now > deadline) {
                slot->interrupted.store(true, std::memory_order_release);
                pthread_kill(slot->thread, reg.signal);
            }
        }
    }
}

void startWatchdogOnce() {
    static std::once_flag once;
    std::call_once(once, [] {
        struct sigaction action {};
        action.sa_handler = ignoreSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = 0;  // no SA_RESTART: the blocked call must give up
        sigaction(registry().signal, &action, nullptr);
        // A child forked while the watchdog holds the lock must not inherit it held.
        pthread_atfork([] { registry().mutex.lock(); }, [] { registry().mutex.unlock(); },
                       [] { registry().mutex.unlock(); });
        std::thread(watchdog).detach();
    });
}

// Registered with the watchdog on the thread's first limited call.
struct ThreadSlot {
    CallSlot slot;
    ThreadSlot() {
        startWatchdogOnce();
        std::lock_guard guard(registry().mutex);
        registry().slots.push_back(&slot);
    }
    ~ThreadSlot() {
        Registry& reg = registry();
        std::lock_guard guard(reg.mutex);
        std::erase(reg.slots, &slot);
    }
};

CallSlot& mySlot() {
    thread_local ThreadSlot slot;
    return slot.slot;
}

}  // namespace

void LimitedTimePerformer::beginCall(std::chrono::milliseconds limit) {
    CallSlot& slot = mySlot();
    slot.interrupted.store(false, std::memory_order_relaxed);
    slot.deadline.store(Clock::after(limit), std::memory_order_release);
}

bool LimitedTimePerformer::endCall() {
    CallSlot& slot = mySlot();
    slot.deadline.store(0, std::memory_order_release);
    return slot.interrupted.load(std::memory_order_acquire);
}

bool LimitedTimePerformer::isKnownHung(const std::string& path) {
    Registry& reg = registry();
    if (!reg.anyHung.load(std::memory_order_acquire)) {
        return false;
    }
    std::lock_guard guard(reg.mutex);
    return reg.hungPaths.count(path) != 0;
}

void LimitedTimePerformer::reportHung(const char* method, const std::string& path) {
    Registry& reg = registry();
    {
        std::lock_guard guard(reg.mutex);
        reg.hungPaths.insert(path);
    }
    reg.anyHung.store(true, std::memory_order_release);
    syslog(LOG_WARNING, "%s; %s", method, path.c_str());
}

bool LimitedTimePerformer::isScanStuck() {
    Registry& reg = registry();
    const Clock::rep now = Clock::now();
    std::lock_guard guard(reg.mutex);
    for (const CallSlot* slot : reg.slots) {
        Clock::rep deadline = slot->deadline.load(std::memory_order_acquire);
        if (deadline != 0 && now > deadline) {
            return true;
        }
    }
    return false;
}

void LimitedTimePerformer::forgetHungPaths() {
    Registry& reg = registry();
    std::lock_guard guard(reg.mutex);
    reg.hungPaths.clear();
    reg.anyHung.store(false, std::memory_order_release);
}

}  // namespace korvex::platform
