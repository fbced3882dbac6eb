#include "platform/dispatch/MainQueue.h"

#include "platform/dispatch/DispatchGroup.h"

#include <algorithm>
#include <vector>

namespace korvex::platform {

// Never destroyed: worker threads that finish while the process exits may
// still post their last block, and must find a queue to post it to.
MainQueue& MainQueue::shared() {
    static MainQueue* const queue = new MainQueue;
    return *queue;
}

void MainQueue::async(Block block) {
    Driver* driver = nullptr;
    {
        std::lock_guard guard(mMutex);
        mBlocks.push_back(std::move(block));
        driver = mDriver;
    }
    mPosted.notify_all();
    if (driver != nullptr) {
        driver->wakeSoon();
    }
}

void MainQueue::async(DispatchGroup& group, Block block) {
    group.enter();
    async([&group, block = std::move(block)] {
        block();
        group.leave();
    });
}

MainQueue::TimerId MainQueue::after(Clock::duration delay, Block block) {
    return addTimer(delay, Clock::duration::zero(), std::move(block));
}

MainQueue::TimerId MainQueue::scheduleRepeating(Clock::duration interval, Block block) {
    return addTimer(interval, interval, std::move(block));
}

MainQueue::TimerId MainQueue::addTimer(Clock::duration delay, Clock::duration interval,
                                       Block block) {
    std::unique_lock guard(mMutex);
    TimerId id = mNextTimer++;
    mTimers.emplace(
        id, Timer{Clock::now() + delay, interval, std::make_shared<Block>(std::move(block))});
    tellDriverAboutTimers(guard);
    mPosted.notify_all();
    return id;
}

void MainQueue::cancelTimer(TimerId id) {
    std::lock_guard guard(mMutex);
    mTimers.erase(id);
}

MainQueue::Clock::time_point MainQueue::nextDueLocked() const {
    Clock::time_point next = Clock::time_point::max();
    for (const auto& [id, timer] : mTimers) {
        next = std::min(next, timer.due);
    }
    return next;
}

void MainQueue::tellDriverAboutTimers(std::unique_lock<std::mutex>& guard) {
    if (mDriver == nullptr || mTimers.empty()) {
        return;
    }
    Driver* driver = mDriver;
    Clock::time_point next = nextDueLocked();
    guard.unlock();
    driver->wakeAt(next);
    guard.lock();
}

std::size_t MainQueue::runDueTimers() {
    std::vector<std::shared_ptr<Block>> due;
    {
        std::lock_guard guard(mMutex);
        Clock::time_point now = Clock::now();
        for (auto it = mTimers.begin(); it != mTimers.end();) {
            Timer& timer = it->second;
            if (timer.due > now) {
                ++it;
                continue;
            }
            due.push_back(timer.block);
            if (timer.interval == Clock::duration::zero()) {
                it = mTimers.erase(it);
            } else {
                // A late timer fires once, then keeps its rhythm from now.
                timer.due = std::max(timer.due + timer.interval, now);
                ++it;
            }
        }
    }
    for (const auto& block : due) {
        (*block)();
    }
    return due.size();
}

std::size_t MainQueue::runPending() {
    std::deque<Block> blocks;
    {
        std::lock_guard guard(mMutex);
        if (mMainThread == std::thread::id()) {
            mMainThread = std::this_thread::get_id();
        }
        blocks.swap(mBlocks);
    }
    for (Block& block : blocks) {
        block();
    }
    std::size_t ran = blocks.size() + runDueTimers();
    std::unique_lock guard(mMutex);
    tellDriverAboutTimers(guard);
    return ran;
}

bool MainQueue::runUntil(const std::function<bool()>& done, Clock::duration limit) {
    const Clock::time_point deadline =
        limit == Clock::duration::max() ? Clock::time_point::max() : Clock::now() + limit;
    while (true) {
        runPending();
        if (done()) {
            return true;
        }
        std::unique_lock guard(mMutex);
        if (!mBlocks.empty()) {
            continue;
        }
        Clock::time_point wakeAt = std::min(deadline, nextDueLocked());
        // A short cap keeps `done` checked when its state changes elsewhere.
        wakeAt = std::min(wakeAt, Clock::now() + std::chrono::milliseconds(20));
        if (Clock::now() >= deadline) {
            guard.unlock();
            return done();
        }
        mPosted.wait_until(guard, wakeAt, [this] { return !mBlocks.empty(); });
    }
}

void MainQueue::setDriver(Driver* driver) {
    std::lock_guard guard(mMutex);
    mDriver = driver;
}

void MainQueue::bindToCurrentThread() {
    std::lock_guard guard(mMutex);
    mMainThread = std::this_thread::get_id();
}

bool MainQueue::isMainThread() const {
    std::lock_guard guard(mMutex);
    return mMainThread == std::this_thread::get_id();
}

}  // namespace korvex::platform
