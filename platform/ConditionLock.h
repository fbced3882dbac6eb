#pragma once

#include <condition_variable>
#include <mutex>

namespace korvex::platform {

// A lock that carries an integer condition: a thread can wait until the lock
// is free and holds a given condition, or take it only if it does so right
// now. The holder releases it with a new condition. The lock is logical: the
// thread holding it may keep it for a long time without blocking others that
// only try.
class ConditionLock {
  public:
    explicit ConditionLock(int condition = 0) : mCondition(condition) {}
    ConditionLock(const ConditionLock&) = delete;
    ConditionLock& operator=(const ConditionLock&) = delete;

    void lockWhenCondition(int condition) {
        std::unique_lock guard(mMutex);
        mChanged.wait(guard, [&] { return !mLocked && mCondition == condition; });
        mLocked = true;
    }

    // Takes the lock whatever its condition; answers the condition.
    int lockAnyCondition() {
        std::unique_lock guard(mMutex);
        mChanged.wait(guard, [&] { return !mLocked; });
        mLocked = true;
        return mCondition;
    }

    bool tryLockWhenCondition(int condition) {
        std::lock_guard guard(mMutex);
        if (mLocked || mCondition != condition) {
            return false;
        }
        mLocked = true;
        return true;
    }

    void unlockWithCondition(int condition) {
        {
            std::lock_guard guard(mMutex);
            mLocked = false;
            mCondition = condition;
        }
        mChanged.notify_all();
    }

    int condition() const {
        std::lock_guard guard(mMutex);
        return mCondition;
    }

  private:
    mutable std::mutex mMutex;
    std::condition_variable mChanged;
    int mCondition;
    bool mLocked = false;
};

}  // namespace korvex::platform
