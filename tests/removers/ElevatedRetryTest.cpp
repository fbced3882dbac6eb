#include "cleanup/removers/ElevatedPermanentRemover.h"
#include "cleanup/removers/ElevatedTrashRemover.h"
#include "cleanup/removers/RootFileRemover.h"
#include "cleanup/removers/UnifiedFileRemover.h"
#include "removers/RemoverTestSupport.h"
#include "support/ElevatedTestSupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <tuple>

namespace korvex {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using test::existsNoFollow;

// Takes what the retry tells as the removal performer does.
class RecordingListener : public UnifiedRemovedInfoCheckListener {
  public:
    void onInfoRemoved(const UnifiedRemoveErrorInfo& info) override {
        info.item()->setState(OperationSucceeded{});
        removed.push_back(info.item()->path());
    }
    void onInfoStillFailed(const UnifiedRemoveErrorInfo& info,
                           const OperationError& error) override {
        failed.emplace_back(info.item()->path(), error);
    }
    void onInfoCheckFinished() override { ++finished; }

    std::vector<std::string> removed;
    std::vector<std::pair<std::string, OperationError>> failed;
    int finished = 0;
};

// Ends the helper and waits until it has gone.
void stopHelper(test::MainQueueFixture& queue, ElevatedHelper& helper) {
    helper.stop();
    queue.serveUntil([&helper] { return !helper.running(); }, 3s);
}

class ElevatedRetry : public ::testing::Test, public test::MainQueueFixture {
  protected:
    ~ElevatedRetry() override { stopHelper(*this, *helper); }

    // Hands the items to the retry, classified by someone who may not
    // change `folder`: "nobody" when the tests run as root, else this user
    // with the folder read-only until the items are classified.
    void retryAsUnprivileged(const std::vector<OperationItemRef>& items,
                             const std::string& folder) {
        if (::geteuid() == 0) {
            fs::permissions(tree.root(), fs::perms::all);
            test::AsNobody nobody;
            ASSERT_TRUE(nobody.switched());
            retry(items);
        } else {
            ::chmod(folder.c_str(), 0555);
            retry(items);
            ::chmod(folder.c_str(), 0755);
        }
    }

    void retry(const std::vector<OperationItemRef>& items) {
        std::vector<UnifiedRemoveErrorInfo> infos;
        for (const OperationItemRef& item : items) {
            infos.push_back(*UnifiedRemoveErrorInfo::forItem(item));
        }
        remover->remove(std::move(infos), listener, [this] { ++completions; });
    }

    // The prompt answers as `kind` from the next retry on.
    void answer(const std::string& kind) {
        stopHelper(*this, *helper);
        helper = ElevatedHelper::create(test::standInLaunch(kind));
        remover = std::make_unique<UnifiedFileRemover>(ElevatedRemovalContext{helper, homeTrash});
    }

    bool serveUntilDone() {
        return serveUntil([this] { return completions > 0; });
    }

    test::TempTree tree;
    std::string homeTrash = tree.path("home/.local/share/Trash");
    std::shared_ptr<ElevatedHelper> helper = ElevatedHelper::create(test::standInLaunch());
    std::unique_ptr<UnifiedFileRemover> remover =
        std::make_unique<UnifiedFileRemover>(ElevatedRemovalContext{helper, homeTrash});
    std::shared_ptr<RecordingListener> listener = std::make_shared<RecordingListener>();
    int completions = 0;
};

TEST_F(ElevatedRetry, AnItemInAFolderTheUserMayNotChangeGoesToTheTrashWithRights) {
    const std::string folder = tree.folder("theirs");
    const std::string path = tree.file("theirs/report \"$HOME\".txt", 10);
    const std::string sibling = tree.file("theirs/keep", 10);
    auto item = test::failedOperationItem(path);
    retryAsUnprivileged({item}, folder);

    ASSERT_TRUE(serveUntilDone());
    EXPECT_EQ(listener->removed, std::vector<std::string>{path});
    EXPECT_TRUE(listener->failed.empty());
    EXPECT_EQ(listener->finished, 1);
    EXPECT_FALSE(existsNoFollow(path));
    EXPECT_TRUE(existsNoFollow(sibling));
    EXPECT_EQ(fs::file_size(homeTrash + "/files/report \"$HOME\".txt"), 10u);
    EXPECT_EQ(test::readFile(homeTrash + "/info/report \"$HOME\".txt.trashinfo")
                  .rfind("[Trash Info]\nPath=", 0),
              0u);
    serveUntil([] { return false; }, 200ms);
    EXPECT_EQ(completions, 1);
}

// A refused password and a missing authentication agent alike.
TEST_F(ElevatedRetry, WithoutRightsTheItemsStayFailedAndSayWhyInWords) {
    for (const auto& [prompt, code, says] :
         {std::tuple{"dismiss", ElevatedPromptDismissed, "administrator password was not given"},
          std::tuple{"no-agent", ElevatedUnavailable, "no polkit authentication agent"}}) {
        answer(prompt);
        listener = std::make_shared<RecordingListener>();
        completions = 0;
        const std::string folder = tree.folder(prompt);
        auto first = test::failedOperationItem(tree.file(std::string(prompt) + "/a", 1));
        auto second = test::failedOperationItem(tree.file(std::string(prompt) + "/b", 1));
        retryAsUnprivileged({first, second}, folder);

        ASSERT_TRUE(serveUntilDone()) << prompt;
        EXPECT_TRUE(listener->removed.empty());
        ASSERT_EQ(listener->failed.size(), 2u);
        for (const auto& [path, error] : listener->failed) {
            EXPECT_TRUE(existsNoFollow(path));
            EXPECT_EQ(error.code, code) << prompt;
            EXPECT_NE(error.description.find(says), std::string::npos) << error.description;
        }
        EXPECT_EQ(first->state(), (OperationResult{OperationFailed{listener->failed[0].second}}));
        EXPECT_EQ(listener->finished, 1);
        EXPECT_EQ(completions, 1);
    }
}

TEST_F(ElevatedRetry, AVanishedItemIsNotRetriedAndKeepsItsError) {
    auto item = test::failedOperationItem(tree.path("vanished"), ENOENT);
    retry({item});
    // Nothing to retry: told at once, with no helper started.
    EXPECT_EQ(completions, 1);
    EXPECT_EQ(listener->finished, 1);
    ASSERT_EQ(listener->failed.size(), 1u);
    EXPECT_EQ(listener->failed[0].second, posixError(ENOENT));
    EXPECT_FALSE(helper->running());
}

TEST_F(ElevatedRetry, AnItemOnAReadOnlyVolumeIsNotRetriedAndKeepsItsFirstError) {
    test::ScopedMount volume(tree.folder("volume"));
    if (!volume.mounted()) {
        GTEST_SKIP() << "no rights to mount a file system for the test";
    }
    const std::string path = tree.path("volume/file");
    std::ofstream(path) << "x";
    volume.remountReadOnly();
    auto readOnly = test::failedOperationItem(path, EROFS);
    retry({readOnly});

    EXPECT_EQ(completions, 1);
    ASSERT_EQ(listener->failed.size(), 1u);
    EXPECT_EQ(listener->failed[0].second, posixError(EROFS));
    EXPECT_EQ(readOnly->state(), (OperationResult{OperationFailed{posixError(EROFS)}}));
    EXPECT_TRUE(existsNoFollow(path));
    EXPECT_FALSE(helper->running());
}

TEST(RemoveErrorInfo, OnlyAFailedItemHasOne) {
    test::TempTree tree;
    auto item = test::failedOperationItem(tree.path("x"), EPERM);
    auto info = UnifiedRemoveErrorInfo::forItem(item);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->error(), posixError(EPERM));
    item->setState(OperationAwaitingReview{});
    EXPECT_FALSE(UnifiedRemoveErrorInfo::forItem(item));
    item->setState(OperationSucceeded{});
    EXPECT_FALSE(UnifiedRemoveErrorInfo::forItem(item));
}

// What the root remover passes on, in order, with the remover's kind.
class EventLog : public ElevatedRemoverListener {
  public:
    void onRemover(ElevatedRemover& remover, const RootFileRemoveItems& removed) override {
        for (const auto& item : removed) {
            events.push_back(kind(remover) + " removed " + *item->path());
        }
    }
    void onRemoverFinished(ElevatedRemover& remover) override {
        events.push_back(kind(remover) + " finished");
    }
    void onUserWasnotAllowedExecuteRemover(ElevatedRemover& remover) override {
        events.push_back(kind(remover) + " refused");
    }
    static std::string kind(const ElevatedRemover& remover) {
        return dynamic_cast<const ElevatedTrashRemover*>(&remover) ? "trash" : "permanent";
    }
    std::vector<std::string> events;
};

class RootRemoval : public ::testing::Test, public test::MainQueueFixture {
  protected:
    ~RootRemoval() override { stopHelper(*this, *helper); }
    test::TempTree tree;
    std::string homeTrash = tree.path("home/.local/share/Trash");
    std::shared_ptr<ElevatedHelper> helper = ElevatedHelper::create(test::standInLaunch());
    std::shared_ptr<RootFileRemover> root =
        std::make_shared<RootFileRemover>(ElevatedRemovalContext{helper, homeTrash});
    std::shared_ptr<EventLog> log = std::make_shared<EventLog>();
};

TEST_F(RootRemoval, RunsItsRemoversOneAfterTheOtherAndCompletesOnce) {
    const std::string trashed = tree.file("to trash", 1);
    const std::string deleted = tree.file("folder/to delete", 1);
    const std::string untouched = tree.file("folder/untouched", 1);
    root->remove({test::failedRemoveItem(trashed)}, {test::failedRemoveItem(deleted)}, log,
                 [this] { log->events.push_back("completion"); });
    // Both removers go through the one helper, started once.
    EXPECT_TRUE(helper->running());
    const auto pid = helper->processId();

    ASSERT_TRUE(serveUntil([this] { return log->events.size() >= 5; }));
    serveUntil([] { return false; }, 200ms);
    EXPECT_EQ(log->events, (std::vector<std::string>{"trash removed " + trashed, "trash finished",
                                                     "permanent removed " + deleted,
                                                     "permanent finished", "completion"}));
    EXPECT_TRUE(existsNoFollow(homeTrash + "/files/to trash"));
    EXPECT_FALSE(existsNoFollow(deleted));
    EXPECT_TRUE(existsNoFollow(untouched));
    EXPECT_EQ(helper->processId(), pid);
}

TEST_F(RootRemoval, ItemsThatCannotBeFollowedAreLeftAloneAndAnEmptyRequestCompletesAtOnce) {
    int completions = 0;
    root->remove({}, {}, log, [&completions] { ++completions; });
    EXPECT_EQ(completions, 1);

    root->remove({test::failedRemoveItem(tree.path("gone"))}, {}, log,
                 [&completions] { ++completions; });
    EXPECT_EQ(completions, 2);
    EXPECT_EQ(log->events, std::vector<std::string>{"trash finished"});
    EXPECT_FALSE(helper->running());
}

}  // namespace
}  // namespace korvex
