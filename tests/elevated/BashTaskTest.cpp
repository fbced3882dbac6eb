#include "cleanup/elevated/BashTasksManager.h"
#include "cleanup/elevated/GenericBashScripts.h"
#include "elevated/ElevatedTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace korvex {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using test::existsNoFollow;

TEST(ScriptOutput, ErrorBlocksBecomeErrorsOfTheTaskDomain) {
    const auto errors = errorsInScriptOutput(
        "HVERROR;1;-1743\nNot authorised to send events.\n"
        "HVERROREND\n");
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0],
              (BashTaskError{"com.halvorn.bashtask", -1743, "Not authorised to send events."}));
}

TEST(ScriptOutput, OnlyWellFormedOpeningLinesCount) {
    const auto errors = errorsInScriptOutput(
        "noise\n"
        "HVERROR;2;5\nnot an error\nHVERROREND\n"
        "HVERROR;1;x\nHVERROREND\n"
        "HVERROR;1;1;extra\nHVERROREND\n"
        " HVERROR;1;3\nHVERROREND\n"
        "HVERROR;1;7\nfirst line\n\nthird line\nHVERROREND\n"
        "HVERROR;1;0\nHVERROREND\n"
        "HVERROR;1;9\nno end marker");
    ASSERT_EQ(errors.size(), 3u);
    EXPECT_EQ(errors[0].code, 7);
    EXPECT_EQ(errors[0].description, "first line\n\nthird line");
    EXPECT_EQ(errors[1].code, 0);
    EXPECT_EQ(errors[1].description, "");
    EXPECT_EQ(errors[2].description, "no end marker");
    EXPECT_TRUE(errorsInScriptOutput("").empty());
}

class RecordingListener : public BashTaskListener {
  public:
    void bashTaskDidFinish(const BashTask& /*task*/, const BashTaskResult& result) override {
        results.push_back(result);
    }
    std::vector<BashTaskResult> results;
};

class Tasks : public ::testing::Test, public test::TaskFixture {
  protected:
    std::optional<BashTaskResult> runToEnd(BashTaskFactory factory) {
        std::optional<BashTaskResult> result;
        factory.completion = [&](const BashTaskResult& r) { result = r; };
        manager.runTask(std::move(factory));
        serveUntil([&] { return result.has_value(); });
        return result;
    }
    // Runs `command` with administrator rights, asking for them for this task.
    std::optional<BashTaskResult> runWithRightsDirectly(const std::string& command) {
        BashTaskFactory factory{std::make_shared<CustomBashScript>(command, true)};
        factory.forceAppleScriptStart = true;
        return runToEnd(std::move(factory));
    }
    BashTasksManager manager;
};

TEST_F(Tasks, ScriptRunsWithoutRightsAndItsErrorBlocksReachCompletionAndListener) {
    auto listener = std::make_shared<RecordingListener>();
    const std::string marker = tree.path("ran");
    auto result =
        runToEnd({std::make_shared<CustomBashScript>("touch \"$0.ran\"; : > " + marker +
                                                         "\necho 'HVERROR;1;13'; echo 'denied'; "
                                                         "echo HVERROREND\n",
                                                     false),
                  listener});
    ASSERT_TRUE(result);
    EXPECT_TRUE(result->taskPerformed);
    EXPECT_FALSE(result->timedOut);
    ASSERT_TRUE(result->errors);
    EXPECT_EQ(result->errors->at(0), (BashTaskError{kBashTaskErrorDomain, 13, "denied"}));
    ASSERT_EQ(listener->results.size(), 1u);
    EXPECT_TRUE(existsNoFollow(marker));
    EXPECT_EQ(manager.numberOfRunningTasks(), 0u);
    // The task's own folder is gone with its script and output.
    EXPECT_TRUE(fs::is_empty(tree.path("tmp/korvex")));
}

TEST_F(Tasks, ScriptsBuiltOnTheMainThreadRunToo) {
    auto result = runToEnd({std::make_shared<CustomBashScript>("exit 3", false, false)});
    ASSERT_TRUE(result);
    EXPECT_TRUE(result->taskPerformed);
    EXPECT_FALSE(result->errors);
}

TEST_F(Tasks, DirectStartWithRightsGoesThroughTheElevationCommand) {
    test::StandInElevation elevation(tree, test::StandInElevation::Answer::Grant);
    const std::string marker = tree.path("elevated");
    auto result = runWithRightsDirectly(": > " + marker);
    ASSERT_TRUE(result);
    EXPECT_TRUE(result->taskPerformed);
    EXPECT_TRUE(existsNoFollow(marker));
    EXPECT_FALSE(manager.sudoLauncher().started());
}

TEST_F(Tasks, RefusedPromptFailsTheTaskWithAClearMessageAndRunsNothing) {
    test::StandInElevation elevation(tree, test::StandInElevation::Answer::Refuse);
    const std::string marker = tree.path("must-not-exist");
    auto result = runWithRightsDirectly(": > " + marker);
    ASSERT_TRUE(result);
    EXPECT_FALSE(result->taskPerformed);
    ASSERT_TRUE(result->errors);
    EXPECT_EQ(result->errors->front().code, BashTaskUserCanceledError);
    EXPECT_NE(result->errors->front().description.find("Administrator rights were not granted"),
              std::string::npos);
    EXPECT_FALSE(existsNoFollow(marker));
}

TEST_F(Tasks, MissingElevationProgramIsReported) {
    BashTaskAppleScriptStart::setElevationCommand({tree.path("no-such-pkexec")});
    auto result = runWithRightsDirectly("true");
    BashTaskAppleScriptStart::setElevationCommand({"pkexec"});
    ASSERT_TRUE(result);
    EXPECT_FALSE(result->taskPerformed);
    ASSERT_TRUE(result->errors);
    EXPECT_EQ(result->errors->front().domain, kBashTaskPosixErrorDomain);
    EXPECT_EQ(result->errors->front().code, ENOENT);
}

TEST_F(Tasks, ATaskStillRunningAtItsTimeoutEndsTimedOut) {
    BashTaskFactory factory{CustomBashScript::waitSeconds(30)};
    factory.timeout = 0.2;
    const auto started = std::chrono::steady_clock::now();
    auto result = runToEnd(std::move(factory));
    ASSERT_TRUE(result);
    EXPECT_TRUE(result->timedOut);
    EXPECT_FALSE(result->taskPerformed);
    EXPECT_LT(std::chrono::steady_clock::now() - started, 5s);
}

TEST_F(Tasks, AScriptThatCannotBeWrittenFailsWithTheFileSystemError) {
    test::writeFile(tree.path("not-a-folder"), "");
    test::ScopedEnvironment tmp("TMPDIR", tree.path("not-a-folder"));
    auto result = runToEnd({std::make_shared<EmptyBashScript>()});
    ASSERT_TRUE(result);
    EXPECT_FALSE(result->taskPerformed);
    ASSERT_TRUE(result->errors);
    EXPECT_EQ(result->errors->front().domain, kBashTaskPosixErrorDomain);
    EXPECT_NE(result->errors->front().description.find("could not be made"), std::string::npos);
}

TEST_F(Tasks, ATaskStartsOnce) {
    int completions = 0;
    auto task = manager.runTask(
        {std::make_shared<EmptyBashScript>(), {}, [&](const BashTaskResult&) { ++completions; }});
    task->start();
    serveUntil([&] { return completions > 0; });
    serveUntil([] { return false; }, 200ms);
    EXPECT_EQ(completions, 1);
    EXPECT_TRUE(task->isStarted());
    EXPECT_EQ(task->behaviour(), BashTaskStartBehaviour::BashTaskAppleScriptStart);
}

}  // namespace
}  // namespace korvex
