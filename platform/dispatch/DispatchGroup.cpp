#include "platform/dispatch/DispatchGroup.h"

#include "platform/dispatch/MainQueue.h"

#include <cassert>

namespace korvex::platform {

void DispatchGroup::enter() {
    std::lock_guard guard(mMutex);
    ++mCount;
}

void DispatchGroup::leave() {
    std::vector<std::function<void()>> notify;
    {
        std::lock_guard guard(mMutex);
        assert(mCount > 0 && "leave() without enter()");
        if (--mCount > 0) {
            return;
        }
        notify.swap(mNotify);
    }
    mEmptied.notify_all();
    for (auto& block : notify) {
        MainQueue::shared().async(std::move(block));
    }
}

bool DispatchGroup::wait(std::chrono::milliseconds limit) {
    std::unique_lock guard(mMutex);
    return mEmptied.wait_for(guard, limit, [this] { return mCount == 0; });
}

void DispatchGroup::wait() {
    std::unique_lock guard(mMutex);
    mEmptied.wait(guard, [this] { return mCount == 0; });
}

bool DispatchGroup::waitUnless(const std::function<bool()>& stop) {
    std::unique_lock guard(mMutex);
    mEmptied.wait(guard, [&] { return mCount == 0 || stop(); });
    return mCount == 0;
}

void DispatchGroup::wakeWaiters() {
    // Taking the lock orders whatever `stop` reads before the waiter's next look.
    { std::lock_guard guard(mMutex); }
    mEmptied.notify_all();
}

void DispatchGroup::notify(std::function<void()> block) {
    {
        std::lock_guard guard(mMutex);
        if (mCount > 0) {
            mNotify.push_back(std::move(block));
            return;
        }
    }
    MainQueue::shared().async(std::move(block));
}

bool DispatchGroup::isEmpty() const {
    std::lock_guard guard(mMutex);
    return mCount == 0;
}

}  // namespace korvex::platform
