#include "cleanup/elevated/BashSudoLauncher.h"

#include "cleanup/elevated/BashTask.h"
#include "cleanup/elevated/ShellPathUtil.h"
#include "platform/fs/EntryExists.h"
#include "scan/format/TempPaths.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace korvex {

namespace fs = std::filesystem;

namespace {

// The file is written beside its name and renamed, so that the runner never
// sees half of it.
bool writeFileAtomically(const std::string& path, const std::string& text) {
    const std::string partial = path + ".partial";
    {
        std::ofstream file(partial, std::ios::binary | std::ios::trunc);
        file << text;
        file.flush();
        if (!file) {
            return false;
        }
    }
    return ::rename(partial.c_str(), path.c_str()) == 0;
}

}  // namespace

std::string BashSudoLauncherDaemonScript::buildScript() const {
    const auto quoted = [](const std::string& path) { return ShellPathUtil::shelledPath(path); };
    const BashSudoLauncherPathSettings& paths = mPathSettings;
    // The runner has administrator rights already; its jobs run with bash,
    // which their "&>" needs.
    return "#!/bin/bash\n"
           "shouldStayAlive=true\n"
           "while [[ $shouldStayAlive == true ]]; do\n"
           "\tif [[ -f " +
           quoted(paths.terminationFlagPath()) +
           " ]]; then\n"
           "\t\tshouldStayAlive=false\n"
           "\telif [[ -f " +
           quoted(paths.scriptPath()) +
           " ]]; then\n"
           "\t\tmv -f " +
           quoted(paths.scriptPath()) + " " + quoted(paths.runningScriptPath()) +
           "\n"
           "\t\tbash " +
           quoted(paths.runningScriptPath()) + " " + quoted(paths.completionPath()) + " " +
           quoted(paths.temporaryCompletionPath()) +
           "\n"
           "\t\trm -f " +
           quoted(paths.runningScriptPath()) +
           "\n"
           "\telse\n"
           "\t\tsleep 0.2\n"
           "\tfi\n"
           "done\n"
           "rm \"$0\"\n"
           "rm -rf " +
           quoted(paths.folder) + "\n";
}

std::string BashSudoLauncher::jobScript(const std::string& scriptPath) {
    const std::string path = ShellPathUtil::shelledPath(scriptPath);
    return "if [[ -f " + path + " ]]; then\n" + "\tbash " + path + " &> \"$2\"\n" + "else\n" +
           "\techo \"FILE DOES NOT EXIST\" > \"$2\"\n" + "fi\n" + "mv \"$2\" \"$1\"\n";
}

BashSudoLauncher::~BashSudoLauncher() {
    terminate();
    if (directoryWatcher) {
        // A delivery already queued must not reach this object.
        directoryWatcher->setDelegate(nullptr);
    }
}

void BashSudoLauncher::runTask(std::shared_ptr<BashTask> task) {
    mWaitingTasks.push_back(std::move(task));
    if (!mStarted && !startRunner()) {
        return;
    }
    handOverNextTask();
}

bool BashSudoLauncher::startRunner() {
    mPathSettings.folder = DataChangeCommon::buildTempPath();
    std::error_code error;
    fs::create_directories(mPathSettings.folder, error);
    if (!error) {
        // Whatever lands here runs with administrator rights.
        fs::permissions(mPathSettings.folder, fs::perms::owner_all, fs::perm_options::replace,
                        error);
    }
    if (error) {
        failWaitingTasks(
            {{kBashTaskPosixErrorDomain, error.value(),
              "The folder for the administrator helper could not be made: " + error.message()}});
        return false;
    }
    if (!directoryWatcher) {
        directoryWatcher = platform::VDKQueue::create();
    }
    if (!directoryWatcher) {
        failWaitingTasks({{kBashTaskPosixErrorDomain, errno,
                           std::string("The folder for the administrator helper cannot be "
                                       "watched: ") +
                               std::strerror(errno)}});
        return false;
    }
    directoryWatcher->setDelegate(this);
    directoryWatcher->addPath(mPathSettings.folder, platform::VDKQueueWrite);
    mStarted = true;
    std::weak_ptr<BashSudoLauncher> weakSelf = weak_from_this();
    mRunnerTask = std::make_shared<BashTask>(
        std::make_shared<BashSudoLauncherDaemonScript>(mPathSettings),
        [weakSelf](const BashTaskResult& result) {
            if (auto self = weakSelf.lock()) {
                self->runnerEnded(result.errors.value_or(std::vector<BashTaskError>{}));
            }
        },
        std::nullopt, true, std::weak_ptr<BashSudoLauncher>());
    mRunnerTask->start();
    return true;
}

void BashSudoLauncher::handOverNextTask() {
    if (currentTask || mWaitingTasks.empty() || !mStarted) {
        return;
    }
    currentTask = std::move(mWaitingTasks.front());
    mWaitingTasks.pop_front();
    if (currentTask->isFinished()) {
        // Timed out while it waited.
        currentTask.reset();
        handOverNextTask();
        return;
    }
    if (!writeFileAtomically(mPathSettings.scriptPath(), jobScript(currentTask->scriptPath()))) {
        auto task = std::move(currentTask);
        task->complete(false, {},
                       {{kBashTaskPosixErrorDomain, errno,
                         "The job for the administrator helper could not be written: " +
                             std::string(std::strerror(errno))}});
        handOverNextTask();
    }
}

void BashSudoLauncher::VDKQueue(class platform::VDKQueue* /*queue*/,
                                const std::string& /*noteName*/, const std::string& /*fpath*/) {
    collectCompletion();
}

void BashSudoLauncher::collectCompletion() {
    if (!currentTask || !platform::somethingExistsAt(mPathSettings.completionPath())) {
        return;
    }
    std::ifstream file(mPathSettings.completionPath(), std::ios::binary);
    std::ostringstream output;
    output << file.rdbuf();
    file.close();
    ::unlink(mPathSettings.completionPath().c_str());
    auto task = std::move(currentTask);
    task->complete(true, output.str(), {});
    handOverNextTask();
}

void BashSudoLauncher::terminate() {
    if (!mStarted) {
        return;
    }
    std::ofstream(mPathSettings.terminationFlagPath()) << "";
}

void BashSudoLauncher::runnerEnded(const std::vector<BashTaskError>& errors) {
    // A job that ended just before the runner still counts.
    collectCompletion();
    mStarted = false;
    mRunnerTask.reset();
    if (directoryWatcher) {
        directoryWatcher->removeAllPaths();
    }
    std::vector<BashTaskError> reasons = errors;
    if (reasons.empty()) {
        reasons.push_back({kBashTaskErrorDomain, BashTaskRunnerStoppedError,
                           "The administrator helper stopped before the job was done."});
    }
    if (currentTask) {
        mWaitingTasks.push_front(std::move(currentTask));
    }
    failWaitingTasks(reasons);
    std::error_code ignored;
    fs::remove_all(mPathSettings.folder, ignored);
}

void BashSudoLauncher::failWaitingTasks(const std::vector<BashTaskError>& errors) {
    auto waiting = std::move(mWaitingTasks);
    mWaitingTasks.clear();
    for (const auto& task : waiting) {
        task->complete(false, {}, errors);
    }
}

}  // namespace korvex
