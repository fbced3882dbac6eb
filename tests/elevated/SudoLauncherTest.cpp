#include "cleanup/elevated/BashTasksManager.h"
#include "cleanup/elevated/GenericBashScripts.h"
#include "cleanup/elevated/MoveToTrashUsingShellBashScript.h"
#include "elevated/ElevatedTestSupport.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace korvex {
namespace {

using namespace std::chrono_literals;
using test::existsNoFollow;

class Runner : public ::testing::Test, public test::TaskFixture {
  protected:
    std::shared_ptr<BashTask> queue(const std::string& script,
                                    std::optional<BashTaskResult>& result) {
        return manager.runTask({std::make_shared<CustomBashScript>(script, true),
                                {},
                                [&result](const BashTaskResult& r) { result = r; }});
    }
    BashTasksManager manager;
};

TEST_F(Runner, RunsJobsInTurnAndStopsWithinASecondOfItsFlag) {
    test::StandInElevation elevation(tree, test::StandInElevation::Answer::Grant);
    std::optional<BashTaskResult> first;
    std::optional<BashTaskResult> second;
    const std::string order = tree.path("order");
    auto task1 = queue("sleep 0.3; echo one >> " + order +
                           "; echo 'HVERROR;1;-1743'; echo "
                           "'first job'; echo HVERROREND",
                       first);
    auto task2 = queue("echo two >> " + order, second);
    ASSERT_TRUE(serveUntil([&] { return first && second; }));
    EXPECT_EQ(task1->behaviour(), BashTaskStartBehaviour::BashTaskSudoShellStart);
    EXPECT_TRUE(first->taskPerformed);
    ASSERT_TRUE(first->errors);
    EXPECT_EQ(first->errors->front(), (BashTaskError{kBashTaskErrorDomain, -1743, "first job"}));
    EXPECT_TRUE(second->taskPerformed);
    EXPECT_FALSE(second->errors);
    EXPECT_EQ(test::readFile(order), "one\ntwo\n");

    const BashSudoLauncher& launcher = manager.sudoLauncher();
    const std::string folder = launcher.pathSettings().folder;
    EXPECT_TRUE(launcher.started());
    EXPECT_FALSE(existsNoFollow(launcher.pathSettings().completionPath()));
    const auto stopping = std::chrono::steady_clock::now();
    manager.terminate();
    ASSERT_TRUE(serveUntil([&] { return !launcher.started(); }, 3s));
    EXPECT_LT(std::chrono::steady_clock::now() - stopping, 1s);
    EXPECT_FALSE(existsNoFollow(folder));
}

TEST_F(Runner, TheRunnerIsStartedOnceForMany) {
    test::StandInElevation elevation(tree, test::StandInElevation::Answer::Grant);
    const std::string starts = tree.path("starts");
    // Counts how often the stand-in is asked for rights.
    test::writeFile(tree.path("counting.sh"),
                    "#!/bin/bash\necho x >> " + starts + "\nexec \"$@\"\n");
    ::chmod(tree.path("counting.sh").c_str(), 0755);
    BashTaskAppleScriptStart::setElevationCommand({tree.path("counting.sh")});
    std::vector<std::optional<BashTaskResult>> results(4);
    for (auto& result : results) {
        queue("true", result);
    }
    ASSERT_TRUE(serveUntil([&] {
        return std::all_of(results.begin(), results.end(), [](auto& r) { return r.has_value(); });
    }));
    EXPECT_EQ(test::readFile(starts), "x\n");
    manager.terminate();
    serveUntil([&] { return !manager.sudoLauncher().started(); }, 3s);
}

TEST_F(Runner, RefusedPromptFailsEveryWaitingJob) {
    test::StandInElevation elevation(tree, test::StandInElevation::Answer::Refuse);
    std::optional<BashTaskResult> first;
    std::optional<BashTaskResult> second;
    const std::string marker = tree.path("must-not-exist");
    queue(": > " + marker, first);
    queue(": > " + marker, second);
    ASSERT_TRUE(serveUntil([&] { return first && second; }));
    for (const auto& result : {first, second}) {
        EXPECT_FALSE(result->taskPerformed);
        ASSERT_TRUE(result->errors);
        EXPECT_EQ(result->errors->front().code, BashTaskUserCanceledError);
    }
    EXPECT_FALSE(existsNoFollow(marker));
    EXPECT_FALSE(manager.sudoLauncher().started());
}

TEST_F(Runner, JobTextRunsTheTaskScriptAndPublishesItsOutputWhenComplete) {
    const std::string script = tree.path("job $x/script.sh");
    EXPECT_EQ(BashSudoLauncher::jobScript("/t/script.sh"),
              "if [[ -f \"/t/script.sh\" ]]; then\n\tbash \"/t/script.sh\" &> \"$2\"\nelse\n"
              "\techo \"FILE DOES NOT EXIST\" > \"$2\"\nfi\nmv \"$2\" \"$1\"\n");
    const std::string done = tree.path("done");
    const std::string partial = tree.path("partial");
    test::writeFile(tree.path("job.sh"), BashSudoLauncher::jobScript(script));
    test::runBash(tree, "bash " + tree.path("job.sh") + " " + done + " " + partial);
    EXPECT_EQ(test::readFile(done), "FILE DOES NOT EXIST\n");
    EXPECT_FALSE(existsNoFollow(partial));
}

TEST_F(Runner, TrashJobThroughTheRunnerMovesTheItem) {
    test::StandInElevation elevation(tree, test::StandInElevation::Answer::Grant);
    const std::string item = tree.file("odd \"$(name)\"", 5);
    std::optional<BashTaskResult> result;
    manager.runTask({std::make_shared<MoveToTrashUsingShellBashScript>(
                         std::vector<std::string>{item}, tree.path("Trash"), ::getuid()),
                     {},
                     [&](const BashTaskResult& r) { result = r; }});
    ASSERT_TRUE(serveUntil([&] { return result.has_value(); }));
    EXPECT_TRUE(result->taskPerformed);
    EXPECT_FALSE(result->errors);
    EXPECT_FALSE(existsNoFollow(item));
    EXPECT_TRUE(existsNoFollow(tree.path("Trash/files/odd \"$(name)\"")));
    manager.terminate();
    serveUntil([&] { return !manager.sudoLauncher().started(); }, 3s);
}

}  // namespace
}  // namespace korvex
