#pragma once

#include "cleanup/elevated/BashScript.h"
#include "platform/watch/VDKQueue.h"

#include <deque>
#include <memory>
#include <string>

namespace korvex {

class BashTask;

// The files of one conversation with the privileged runner, all inside one
// private folder.
struct BashSudoLauncherPathSettings {
    std::string folder;
    // The next job.
    std::string scriptPath() const { return folder + "/script.sh"; }
    // The job being run, taken away from "script.sh" so that the next job
    // can be handed over while it runs.
    std::string runningScriptPath() const { return folder + "/script.running.sh"; }
    // The job's output while it runs, and once it is complete.
    std::string temporaryCompletionPath() const { return folder + "/completion_tmp"; }
    std::string completionPath() const { return folder + "/completion.msgtoc"; }
    // Ends the runner.
    std::string terminationFlagPath() const { return folder + "/ptermflag.msgtoas"; }
};

// The runner: a bash loop, started once with administrator rights, that runs
// each job file handed to it in the conversation folder, then takes itself
// and the folder away when the stop flag appears.
class BashSudoLauncherDaemonScript : public BashScript {
  public:
    explicit BashSudoLauncherDaemonScript(BashSudoLauncherPathSettings pathSettings)
        : mPathSettings(std::move(pathSettings)) {}

    bool requireAdminPrivileges() const override { return true; }
    bool allowBackgroundBuild() const override { return true; }
    std::string buildScript() const override;

  private:
    BashSudoLauncherPathSettings mPathSettings;
};

// Runs the tasks that need administrator rights one at a time through the
// runner, so that the user is asked for the password once. A job is handed
// over as "script.sh"; its output appears as "completion.msgtoc", which the
// folder watcher reports. Lives on the main thread.
class BashSudoLauncher : public std::enable_shared_from_this<BashSudoLauncher>,
                         public platform::VDKQueueDelegate {
  public:
    BashSudoLauncher() = default;
    ~BashSudoLauncher() override;
    BashSudoLauncher(const BashSudoLauncher&) = delete;
    BashSudoLauncher& operator=(const BashSudoLauncher&) = delete;

    // Queues the task, whose script is written already; starts the runner
    // when it is not running.
    void runTask(std::shared_ptr<BashTask> task);
    // Raises the stop flag: the runner ends within 0.2 s, and the tasks still
    // waiting fail.
    void terminate();

    bool started() const { return mStarted; }
    const BashSudoLauncherPathSettings& pathSettings() const { return mPathSettings; }
    // The text handed over for the task's script at `scriptPath`.
    static std::string jobScript(const std::string& scriptPath);

    void VDKQueue(class platform::VDKQueue* queue, const std::string& noteName,
                  const std::string& fpath) override;

  private:
    bool startRunner();
    void handOverNextTask();
    void collectCompletion();
    void runnerEnded(const std::vector<struct BashTaskError>& errors);
    void failWaitingTasks(const std::vector<struct BashTaskError>& errors);

    std::shared_ptr<platform::VDKQueue> directoryWatcher;
    BashSudoLauncherPathSettings mPathSettings;
    bool mStarted = false;
    std::shared_ptr<BashTask> currentTask;
    std::deque<std::shared_ptr<BashTask>> mWaitingTasks;
    std::shared_ptr<BashTask> mRunnerTask;
};

}  // namespace korvex
