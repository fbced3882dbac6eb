#include "platform/dispatch/DispatchGroup.h"
#include "platform/dispatch/MainQueue.h"
#include "platform/dispatch/NotificationCenter.h"
#include "platform/dispatch/OperationQueue.h"

#include <gtest/gtest.h>

#include <atomic>
#include <numeric>
#include <thread>
#include <vector>

namespace korvex::platform {
namespace {

using namespace std::chrono_literals;

class Dispatch : public ::testing::Test {
  protected:
    void SetUp() override {
        queue.bindToCurrentThread();
        queue.runPending();
    }
    MainQueue& queue = MainQueue::shared();
};

TEST_F(Dispatch, BlocksRunInPostingOrderOnTheMainThread) {
    std::vector<int> order;
    std::thread poster([&] {
        for (int i = 0; i < 100; ++i) {
            queue.async([&order, i] { order.push_back(i); });
        }
    });
    poster.join();
    bool onMain = false;
    queue.async([&] { onMain = isMainThread(); });
    queue.runUntil([&] { return order.size() == 100 && onMain; }, 5s);
    std::vector<int> posted(100);
    std::iota(posted.begin(), posted.end(), 0);
    EXPECT_EQ(order, posted);
    EXPECT_TRUE(onMain);
}

TEST_F(Dispatch, GroupCountsQueuedBlocksUntilTheyRun) {
    DispatchGroup group;
    std::atomic<bool> emptied{false};
    std::atomic<bool> timedOut{false};
    queue.async(group, [] {});
    std::thread waiter([&] {
        timedOut = !group.wait(30ms);  // nothing serves the queue yet
        group.wait();
        emptied = true;
    });
    std::this_thread::sleep_for(60ms);
    EXPECT_FALSE(emptied.load());
    queue.runUntil([&] { return emptied.load(); }, 5s);
    waiter.join();
    EXPECT_TRUE(timedOut.load());
    EXPECT_TRUE(emptied.load());
    EXPECT_TRUE(group.isEmpty());
}

TEST_F(Dispatch, AGroupWaitEndsWhenEmptiedOrWhenWokenToStop) {
    DispatchGroup group;
    std::atomic<bool> stop{false};
    std::atomic<int> answers{0};
    std::atomic<bool> emptied{true};
    group.enter();
    std::thread waiter([&] {
        emptied = group.waitUnless([&] { return stop.load(); });
        ++answers;
    });
    // Nothing ends the wait but a wake-up that finds the stop condition true.
    group.wakeWaiters();
    std::this_thread::sleep_for(30ms);
    EXPECT_EQ(answers.load(), 0);
    stop = true;
    group.wakeWaiters();
    waiter.join();
    EXPECT_FALSE(emptied.load());

    std::thread second([&] {
        emptied = group.waitUnless([] { return false; });
        ++answers;
    });
    std::this_thread::sleep_for(10ms);
    group.leave();
    second.join();
    EXPECT_TRUE(emptied.load());
    EXPECT_EQ(answers.load(), 2);
}

TEST_F(Dispatch, GroupNotifyRunsOnceEmpty) {
    DispatchGroup group;
    int notified = 0;
    group.enter();
    group.notify([&] { ++notified; });
    queue.runPending();
    EXPECT_EQ(notified, 0);
    group.leave();
    queue.runUntil([&] { return notified == 1; }, 5s);
    EXPECT_EQ(notified, 1);
}

TEST_F(Dispatch, TimersRepeatUntilCancelledAndOneShotsFireOnce) {
    int repeats = 0;
    int once = 0;
    MainQueue::TimerId timer = queue.scheduleRepeating(10ms, [&] { ++repeats; });
    queue.after(20ms, [&] { ++once; });
    queue.runUntil([&] { return repeats >= 3 && once == 1; }, 5s);
    queue.cancelTimer(timer);
    int seen = repeats;
    queue.runUntil([] { return false; }, 60ms);
    EXPECT_GE(seen, 3);
    EXPECT_EQ(repeats, seen);
    EXPECT_EQ(once, 1);
}

TEST_F(Dispatch, ObserversCanLeaveDuringDelivery) {
    auto& center = NotificationCenter::defaultCenter();
    int first = 0;
    int second = 0;
    NotificationCenter::Token secondToken;
    NotificationCenter::Token firstToken = center.addObserver("test.note", [&](const std::any& o) {
        first += std::any_cast<int>(o);
        secondToken.reset();  // removes the other observer mid-delivery
    });
    secondToken = center.addObserver("test.note", [&](const std::any&) { ++second; });
    center.post("test.note", 5);
    center.post("other.note", 1);
    EXPECT_EQ(first, 5);
    EXPECT_EQ(second, 0);
    firstToken.reset();
    center.post("test.note", 5);
    EXPECT_EQ(first, 5);
}

class Recorder : public Operation {
  public:
    Recorder(std::vector<int>& log, std::mutex& mutex, int id)
        : mLog(log), mMutex(mutex), mId(id) {}
    void main() override {
        std::this_thread::sleep_for(5ms);
        std::lock_guard guard(mMutex);
        mLog.push_back(isCancelled() ? -mId : mId);
    }

  private:
    std::vector<int>& mLog;
    std::mutex& mMutex;
    int mId;
};

TEST(OperationQueues, OperationsRunOneAtATimeInOrderAndLearnOfCancel) {
    std::vector<int> log;
    std::mutex mutex;
    OperationQueue queue;
    for (int i = 1; i <= 5; ++i) {
        queue.addOperation(std::make_shared<Recorder>(log, mutex, i));
    }
    queue.cancelAllOperations();
    queue.addOperation(std::make_shared<Recorder>(log, mutex, 6));
    queue.waitUntilAllOperationsAreFinished();
    EXPECT_EQ(queue.operationCount(), 0u);
    EXPECT_EQ(log, (std::vector<int>{-1, -2, -3, -4, -5, 6}));
}

TEST_F(Dispatch, ManyPostersAgainstOneDrainingThread) {
    std::atomic<int> ran{0};
    std::vector<std::thread> posters;
    for (int t = 0; t < 4; ++t) {
        posters.emplace_back([&] {
            for (int i = 0; i < 2000; ++i) {
                queue.async([&] { ran.fetch_add(1); });
            }
        });
    }
    queue.runUntil([&] { return ran.load() == 8000; }, 20s);
    for (auto& poster : posters) {
        poster.join();
    }
    queue.runPending();
    EXPECT_EQ(ran.load(), 8000);
}

}  // namespace
}  // namespace korvex::platform
