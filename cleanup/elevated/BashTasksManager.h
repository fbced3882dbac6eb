#pragma once

#include "cleanup/elevated/BashSudoLauncher.h"
#include "cleanup/elevated/BashTask.h"

#include <mutex>
#include <set>

namespace korvex {

// What a task is made from.
struct BashTaskFactory {
    BashScriptRef bashScript;
    std::weak_ptr<BashTaskListener> delegate{};
    BashTask::Completion completion{};
    std::optional<double> timeout{};
    // Run directly even when the script needs administrator rights: the
    // system asks for the password for this one script.
    bool forceAppleScriptStart = false;
};

// Keeps the running tasks and the one privileged runner. Tasks are started
// and report on the main thread.
class BashTasksManager {
  public:
    static BashTasksManager& sharedManager();
    BashTasksManager();
    ~BashTasksManager();
    BashTasksManager(const BashTasksManager&) = delete;
    BashTasksManager& operator=(const BashTasksManager&) = delete;

    std::shared_ptr<BashTask> runTask(BashTaskFactory factory);
    // Stops the privileged runner.
    void terminate();
    std::size_t numberOfRunningTasks() const;
    const BashSudoLauncher& sudoLauncher() const { return *mSudoLauncher; }

  private:
    mutable std::mutex lock;
    std::set<std::shared_ptr<BashTask>> tasks;
    std::shared_ptr<BashSudoLauncher> mSudoLauncher;
};

}  // namespace korvex
