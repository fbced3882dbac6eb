#include "platform/dispatch/MainQueue.h"
#include "platform/dispatch/NotificationCenter.h"
#include "platform/watch/VDKQueue.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace korvex::platform {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

struct Delivery {
    std::string name;
    std::string path;
    bool onMainThread = false;
};

class RecordingDelegate : public VDKQueueDelegate {
  public:
    void VDKQueue(class VDKQueue* /*queue*/, const std::string& noteName,
                  const std::string& fpath) override {
        seen.push_back({noteName, fpath, isMainThread()});
    }
    std::vector<Delivery> seen;
};

std::size_t threadCount() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("Threads:", 0) == 0) {
            return std::stoul(line.substr(8));
        }
    }
    return 0;
}

void append(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::app) << text;
}

class Watcher : public ::testing::Test {
  protected:
    void SetUp() override {
        MainQueue::shared().bindToCurrentThread();
        MainQueue::shared().runPending();
        watcher = VDKQueue::create();
        ASSERT_TRUE(watcher);
        watcher->setDelegate(&delegate);
    }

    bool waitFor(const std::string& name, std::chrono::milliseconds limit = 3s) {
        return MainQueue::shared().runUntil([&] { return indexOf(name) >= 0; }, limit);
    }
    int indexOf(const std::string& name) const {
        for (std::size_t i = 0; i < delegate.seen.size(); ++i) {
            if (delegate.seen[i].name == name) {
                return static_cast<int>(i);
            }
        }
        return -1;
    }
    // Lets events that are on their way arrive.
    void settle() {
        MainQueue::shared().runUntil([] { return false; }, 150ms);
    }

    test::TempTree tree;
    RecordingDelegate delegate;
    std::shared_ptr<VDKQueue> watcher;
};

TEST_F(Watcher, MissingPathMakesNoEntryAndStartsNoThread) {
    const std::size_t before = threadCount();
    watcher->addPath(tree.path("missing"));
    watcher->addPath("");
    EXPECT_EQ(watcher->numberOfWatchedPaths(), 0u);
    EXPECT_EQ(watcher->addPathToQueue(tree.path("missing"), VDKQueueWrite), nullptr);
    EXPECT_EQ(threadCount(), before);
}

TEST_F(Watcher, MasksKeepTheFirstOnAddPathAndWidenThroughTheQueue) {
    const std::string file = tree.file("a.txt", 10);
    watcher->addPath(file, VDKQueueWrite);
    watcher->addPath(file);
    EXPECT_EQ(watcher->subscriptionFlagsForPath(file), VDKQueueWrite);

    VDKQueuePathEntry* entry = watcher->addPathToQueue(file, VDKQueueWrite);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->subscriptionFlags(), VDKQueueWrite);
    EXPECT_EQ(watcher->addPathToQueue(file, VDKQueueDelete), entry);
    EXPECT_EQ(entry->subscriptionFlags(), VDKQueueWrite | VDKQueueDelete);
    EXPECT_GE(entry->watchedFD(), 0);

    watcher->addPath(tree.folder("dir"));
    EXPECT_EQ(watcher->numberOfWatchedPaths(), 2u);
    watcher->removePath(file);
    EXPECT_EQ(watcher->numberOfWatchedPaths(), 1u);
    watcher->removeAllPaths();
    EXPECT_EQ(watcher->numberOfWatchedPaths(), 0u);
}

TEST_F(Watcher, AWriteThatGrowsAFileIsReportedAsWrittenThenGrownOnTheMainThread) {
    const std::string file = tree.file("log.txt", 4);
    watcher->addPath(file);
    append(file, "more text");
    ASSERT_TRUE(waitFor(VDKQueueSizeIncreaseNotification));
    const int written = indexOf(VDKQueueWriteNotification);
    ASSERT_GE(written, 0);
    EXPECT_LT(written, indexOf(VDKQueueSizeIncreaseNotification));
    for (const Delivery& delivery : delegate.seen) {
        EXPECT_EQ(delivery.path, file);
        EXPECT_TRUE(delivery.onMainThread);
    }
}

TEST_F(Watcher, RenameAttributesLinksAndDeletionOfAFile) {
    const std::string file = tree.file("x", 1);
    watcher->addPath(file);

    ::chmod(file.c_str(), 0600);
    ASSERT_TRUE(waitFor(VDKQueueAttributeChangeNotification));

    ASSERT_EQ(::link(file.c_str(), tree.path("x-link").c_str()), 0);
    ASSERT_TRUE(waitFor(VDKQueueLinkCountChangeNotification));

    fs::rename(file, tree.path("y"));
    ASSERT_TRUE(waitFor(VDKQueueRenameNotification));
    // The watch follows the file, and reports under the path it was added with.
    EXPECT_EQ(delegate.seen.back().path, file);

    fs::remove(tree.path("x-link"));
    fs::remove(tree.path("y"));
    ASSERT_TRUE(waitFor(VDKQueueDeleteNotification));
}

TEST_F(Watcher, AFolderReportsEntriesMadeAndRenamedInIt) {
    const std::string folder = tree.folder("conversation");
    watcher->addPath(folder, VDKQueueWrite);
    std::ofstream(folder + "/tmp") << "done";
    ASSERT_TRUE(waitFor(VDKQueueWriteNotification));
    settle();
    delegate.seen.clear();
    fs::rename(folder + "/tmp", folder + "/done");
    ASSERT_TRUE(waitFor(VDKQueueWriteNotification));
    // Only the subscribed bit is delivered.
    for (const Delivery& delivery : delegate.seen) {
        EXPECT_EQ(delivery.name, VDKQueueWriteNotification);
    }
}

TEST_F(Watcher, RemovedPathsReportNothingMore) {
    const std::string file = tree.file("quiet", 1);
    watcher->addPath(file);
    watcher->removePath(file);
    append(file, "ignored");
    settle();
    EXPECT_TRUE(delegate.seen.empty());
}

TEST_F(Watcher, NotificationsArePostedWithoutADelegateOrWhenAlwaysAsked) {
    std::vector<std::string> posted;
    std::vector<std::string> paths;
    NotificationCenter& center = NotificationCenter::workspaceCenter();
    std::vector<NotificationCenter::Token> tokens;
    for (const std::string& name : VDKQueueNotificationNames(VDKQueueNotifyDefault)) {
        tokens.push_back(center.addObserver(name, [&, name](const std::any& object) {
            const auto& note = std::any_cast<const VDKQueueNotification&>(object);
            EXPECT_EQ(note.object, watcher);
            posted.push_back(name);
            paths.push_back(note.userInfo.at("path"));
        }));
    }
    const std::string file = tree.file("posted", 1);
    watcher->addPath(file, VDKQueueAttrib);

    ::chmod(file.c_str(), 0640);
    ASSERT_TRUE(waitFor(VDKQueueAttributeChangeNotification));
    settle();
    EXPECT_TRUE(posted.empty());

    watcher->setAlwaysPostNotifications(true);
    ::chmod(file.c_str(), 0600);
    MainQueue::shared().runUntil([&] { return !posted.empty(); }, 3s);
    settle();
    ASSERT_EQ(posted, std::vector<std::string>{VDKQueueAttributeChangeNotification});

    posted.clear();
    watcher->setAlwaysPostNotifications(false);
    watcher->setDelegate(nullptr);
    const std::size_t delegateSaw = delegate.seen.size();
    ::chmod(file.c_str(), 0644);
    MainQueue::shared().runUntil([&] { return !posted.empty(); }, 3s);
    settle();
    EXPECT_EQ(posted, std::vector<std::string>{VDKQueueAttributeChangeNotification});
    EXPECT_EQ(paths.back(), file);
    EXPECT_EQ(delegate.seen.size(), delegateSaw);
}

TEST_F(Watcher, QueuedDeliveriesKeepTheWatcherAlive) {
    const std::string file = tree.file("alive", 1);
    watcher->addPath(file);
    watcher->setDelegate(nullptr);
    bool delivered = false;
    auto token = NotificationCenter::workspaceCenter().addObserver(
        VDKQueueAttributeChangeNotification, [&](const std::any&) { delivered = true; });
    ::chmod(file.c_str(), 0600);
    // Give the thread time to queue the delivery before the owner lets go.
    std::this_thread::sleep_for(300ms);
    watcher.reset();
    MainQueue::shared().runUntil([&] { return delivered; }, 3s);
    EXPECT_TRUE(delivered);
}

}  // namespace
}  // namespace korvex::platform
