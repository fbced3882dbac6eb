#include "cleanup/elevated/ElevatedHelper.h"
#include "platform/process/PipedChild.h"
#include "support/ElevatedTestSupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <functional>

namespace korvex {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

class ElevatedHelperRuns : public ::testing::Test, public test::MainQueueFixture {
  public:
    ~ElevatedHelperRuns() override {
        if (helper) {
            helper->stop();
            serveUntil([this] { return !helper->running(); }, 3s);
        }
    }

    ElevatedReply removeWith(ElevatedLaunch launch, const std::string& path) {
        helper = ElevatedHelper::create(std::move(launch));
        struct stat info {};
        ::lstat(path.c_str(), &info);
        std::optional<ElevatedReply> reply;
        helper->removePermanently({{path, info.st_dev, info.st_ino}},
                                  [&reply](const ElevatedReply& r) { reply = r; });
        serveUntil([&reply] { return reply.has_value(); });
        return reply.value_or(ElevatedReply{});
    }

    test::TempTree tree;
    std::shared_ptr<ElevatedHelper> helper;
};

TEST_F(ElevatedHelperRuns, EachWayOfNotGettingRightsIsSaidInWordsAndChangesNothing) {
    const std::string item = tree.file("item", 1);
    const std::vector<std::pair<std::string, ElevatedFailure>> answers{
        {"no-agent",
         {ElevatedUnavailable,
          "Administrator rights are not available: no polkit authentication agent is running"}},
        {"dismiss",
         {ElevatedPromptDismissed,
          "The administrator password was not given (the prompt was "
          "dismissed), so nothing was changed."}},
        {"deny",
         {ElevatedNotAuthorized,
          "Administrator rights were refused: this user is not authorized "
          "to remove the items, so nothing was changed."}},
    };
    for (const auto& [answer, failure] : answers) {
        const ElevatedReply reply = removeWith(test::standInLaunch(answer), item);
        EXPECT_EQ(reply.failure, failure) << answer;
        EXPECT_TRUE(test::existsNoFollow(item));
    }
    ElevatedLaunch missing = test::standInLaunch();
    missing.launcher = {tree.path("no-pkexec-here")};
    EXPECT_EQ(removeWith(missing, item).failure,
              (ElevatedFailure{ElevatedUnavailable, "Administrator rights are not available: " +
                                                        tree.path("no-pkexec-here") +
                                                        " is not installed"}));
    EXPECT_TRUE(test::existsNoFollow(item));
}

TEST_F(ElevatedHelperRuns, AHelperNotStartedDirectlyByItsApplicationRefusesToStart) {
    int error = 0;
    // Started by this process, but told another parent: its parent-death
    // signal would watch the wrong process.
    auto child = platform::PipedChild::start(
        {KORVEX_ELEVATION_STANDIN, "--answer=grant", KORVEX_ELEVATED_HELPER, "--parent", "1"},
        error);
    ASSERT_TRUE(child);
    child->input = {};
    char byte = 0;
    EXPECT_EQ(::read(child->output.get(), &byte, 1), 0) << "it announced itself";
    EXPECT_EQ(platform::waitForExit(child->pid), elevated::kRefusedStartStatus);

    // Without pkexec the requesting user is unknown.
    auto direct = platform::PipedChild::start(
        {KORVEX_ELEVATED_HELPER, "--parent", std::to_string(::getpid())}, error);
    ASSERT_TRUE(direct);
    EXPECT_EQ(platform::waitForExit(direct->pid), elevated::kRefusedStartStatus);
}

// A started helper, then a removal of a folder of 10,000 files that is
// stopped by `stop` as soon as it has been sent.
void stoppedRemoval(
    ElevatedHelperRuns& test, test::TempTree& tree,
    const std::function<ElevatedHelper::RequestId(ElevatedHelper&, const elevated::TargetItem&,
                                                  ElevatedHelper::Completion)>& start) {
    const std::string big = tree.folder("big");
    for (int folder = 0; folder < 40; ++folder) {
        const std::string sub = tree.folder("big/" + std::to_string(folder));
        for (int file = 0; file < 250; ++file) {
            std::ofstream(sub + "/" + std::to_string(file));
        }
    }
    ASSERT_FALSE(test.removeWith(test::standInLaunch(), tree.file("warm", 1)).failure);
    struct stat info {};
    ::lstat(big.c_str(), &info);
    std::optional<ElevatedReply> reply;
    start(*test.helper, {big, info.st_dev, info.st_ino},
          [&reply](const ElevatedReply& r) { reply = r; });
    ASSERT_TRUE(test.serveUntil([&reply] { return reply.has_value(); }));
    ASSERT_FALSE(reply->failure) << reply->failure->description;
    EXPECT_TRUE(reply->cancelled);
    ASSERT_EQ(reply->outcomes.size(), 1u);
    EXPECT_EQ(reply->outcomes[0].error, ECANCELED);
    EXPECT_TRUE(fs::exists(big));
    EXPECT_GT(std::distance(fs::recursive_directory_iterator(big), {}), 0);
    EXPECT_TRUE(test.helper->running());
}

TEST_F(ElevatedHelperRuns, ACancelStopsTheRootWorkBetweenEntriesAndKeepsTheRest) {
    stoppedRemoval(*this, tree,
                   [](ElevatedHelper& running, const elevated::TargetItem& item,
                      ElevatedHelper::Completion done) {
                       const auto id = running.removePermanently({item}, std::move(done));
                       running.cancel(id);
                       return id;
                   });
}

TEST_F(ElevatedHelperRuns, ATimeOutStopsTheRootWorkThroughThePipe) {
    stoppedRemoval(*this, tree,
                   [](ElevatedHelper& running, const elevated::TargetItem& item,
                      ElevatedHelper::Completion done) {
                       return running.removePermanently(
                           {item},
                           [done](const ElevatedReply& reply) {
                               EXPECT_TRUE(reply.timedOut);
                               done(reply);
                           },
                           std::chrono::milliseconds(1));
                   });
}

TEST_F(ElevatedHelperRuns, AnIdleHelperEndsAndTheNextRequestStartsAnother) {
    ElevatedLaunch launch = test::standInLaunch("grant", 1s);
    const std::string first = tree.file("first", 1);
    const ElevatedReply firstReply = removeWith(launch, first);
    ASSERT_FALSE(firstReply.failure) << firstReply.failure->description;
    const auto pid = helper->processId();
    ASSERT_TRUE(pid);
    EXPECT_TRUE(serveUntil([this] { return !helper->running(); }, 5s));

    const std::string second = tree.file("second", 1);
    struct stat info {};
    ::lstat(second.c_str(), &info);
    std::optional<ElevatedReply> reply;
    helper->removePermanently({{second, info.st_dev, info.st_ino}},
                              [&reply](const ElevatedReply& r) { reply = r; });
    ASSERT_TRUE(serveUntil([&reply] { return reply.has_value(); }));
    EXPECT_EQ(reply->outcomes, std::vector<elevated::ItemOutcome>(1));
    EXPECT_FALSE(test::existsNoFollow(second));
}

TEST_F(ElevatedHelperRuns, AMissingHelperProgramIsNamed) {
    ElevatedLaunch launch = test::standInLaunch();
    launch.helperPath = tree.path("korvex-elevated");
    const ElevatedReply reply = removeWith(launch, tree.file("x", 1));
    ASSERT_TRUE(reply.failure);
    EXPECT_NE(reply.failure->description.find(tree.path("korvex-elevated")), std::string::npos);
    EXPECT_FALSE(helper->running());
}

}  // namespace
}  // namespace korvex
