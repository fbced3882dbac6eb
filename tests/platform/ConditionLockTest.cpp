#include "platform/ConditionLock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace korvex::platform {
namespace {

TEST(ConditionLock, TryOnlySucceedsOnAFreeLockWithTheCondition) {
    ConditionLock lock(0);
    EXPECT_FALSE(lock.tryLockWhenCondition(1));
    EXPECT_TRUE(lock.tryLockWhenCondition(0));
    EXPECT_FALSE(lock.tryLockWhenCondition(0));  // held
    lock.unlockWithCondition(1);
    EXPECT_EQ(lock.condition(), 1);
    EXPECT_FALSE(lock.tryLockWhenCondition(0));
    EXPECT_TRUE(lock.tryLockWhenCondition(1));
}

TEST(ConditionLock, WaiterWakesWhenTheConditionIsHandedOver) {
    ConditionLock lock(0);
    std::atomic<bool> woke{false};
    std::thread waiter([&] {
        lock.lockWhenCondition(1);
        woke = true;
        lock.unlockWithCondition(0);
    });
    ASSERT_TRUE(lock.tryLockWhenCondition(0));
    EXPECT_FALSE(woke.load());
    lock.unlockWithCondition(1);
    waiter.join();
    EXPECT_TRUE(woke.load());
    EXPECT_EQ(lock.condition(), 0);
}

}  // namespace
}  // namespace korvex::platform
