#include "cleanup/elevated/BashTask.h"

#include "cleanup/elevated/BashSudoLauncher.h"
#include "platform/dispatch/SerialQueue.h"
#include "scan/format/TempPaths.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace korvex {

namespace fs = std::filesystem;

namespace {

BashTaskError posixError(int code, const std::string& what) {
    return {kBashTaskPosixErrorDomain, code, what + ": " + std::strerror(code)};
}

std::string readWholeFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

}  // namespace

BashTask::BashTask(BashScriptRef script, Completion completion, std::optional<double> timeout,
                   bool forceAppleScriptStart, std::weak_ptr<BashSudoLauncher> launcher)
    : mScript(std::move(script)),
      mCompletion(std::move(completion)),
      mTimeout(timeout),
      mForceAppleScriptStart(forceAppleScriptStart),
      mLauncher(std::move(launcher)) {}

void BashTask::start() {
    if (mIsStarted) {
        return;
    }
    mIsStarted = true;
    auto self = shared_from_this();
    if (mTimeout) {
        mTimeoutTimer = platform::MainQueue::shared().after(
            std::chrono::duration_cast<platform::MainQueue::Clock::duration>(
                std::chrono::duration<double>(*mTimeout)),
            [self] { self->timeOut(); });
    }
    if (mScript->allowBackgroundBuild()) {
        // One queue for every build, so tasks reach their runs in the order
        // they were started.
        static platform::SerialQueue* const builds =
            new platform::SerialQueue("com.halvorn.bashtask.build");
        builds->async([self] {
            std::string text = self->mScript->buildScript();
            platform::MainQueue::shared().async(
                [self, text = std::move(text)] { self->run(text); });
        });
    } else {
        run(mScript->buildScript());
    }
}

std::optional<BashTaskError> BashTask::writeScript(const std::string& text) {
    const std::string folder = DataChangeCommon::buildTempPath();
    std::error_code error;
    fs::create_directories(folder, error);
    if (error) {
        return posixError(error.value(), "The script folder " + folder + " could not be made");
    }
    mShellScriptFolder = folder;
    // Written beside and renamed, so that the script is whole or absent.
    const std::string partial = scriptPath() + ".partial";
    {
        std::ofstream file(partial, std::ios::binary | std::ios::trunc);
        file << text;
        file.flush();
        if (!file) {
            const int code = errno != 0 ? errno : EIO;
            return posixError(code, "The script " + scriptPath() + " could not be written");
        }
    }
    fs::rename(partial, scriptPath(), error);
    if (error) {
        return posixError(error.value(), "The script " + scriptPath() + " could not be written");
    }
    return std::nullopt;
}

void BashTask::run(const std::string& text) {
    if (mIsFinished) {
        return;
    }
    if (auto failure = writeScript(text)) {
        complete(false, {}, {*failure});
        return;
    }
    auto launcher = mLauncher.lock();
    const bool runnerLoop = dynamic_cast<const BashSudoLauncherDaemonScript*>(mScript.get());
    if (launcher && !mForceAppleScriptStart && mScript->requireAdminPrivileges() && !runnerLoop) {
        mBehaviour = BashTaskStartBehaviour::BashTaskSudoShellStart;
        launcher->runTask(shared_from_this());
        return;
    }
    mBehaviour = BashTaskStartBehaviour::BashTaskAppleScriptStart;
    mDirectStart = BashTaskAppleScriptStart::start(
        {scriptPath(), mScript->requireAdminPrivileges(), outputPath()},
        [self = shared_from_this()](BashTaskAppleScriptStart::Outcome outcome) {
            self->complete(outcome.performed, readWholeFile(self->outputPath()),
                           std::move(outcome.errors));
        });
}

void BashTask::timeOut() {
    mTimeoutTimer.reset();
    if (mIsFinished) {
        return;
    }
    if (mDirectStart) {
        mDirectStart->terminate();
    }
    BashTaskResult result;
    result.timedOut = true;
    finish(result);
}

void BashTask::complete(bool performed, std::string_view output,
                        std::vector<BashTaskError> failures) {
    if (mIsFinished) {
        return;
    }
    for (BashTaskError& error : errorsInScriptOutput(output)) {
        failures.push_back(std::move(error));
    }
    BashTaskResult result;
    result.taskPerformed = performed;
    if (!failures.empty()) {
        result.errors = std::move(failures);
    }
    finish(result);
}

void BashTask::finish(const BashTaskResult& result) {
    mIsFinished = true;
    if (mTimeoutTimer) {
        platform::MainQueue::shared().cancelTimer(*mTimeoutTimer);
        mTimeoutTimer.reset();
    }
    if (!mShellScriptFolder.empty()) {
        std::error_code ignored;
        fs::remove_all(mShellScriptFolder, ignored);
    }
    if (mCompletion) {
        mCompletion(result);
    }
    if (auto listener = mListener.lock()) {
        listener->bashTaskDidFinish(*this, result);
    }
}

}  // namespace korvex
