#include "cleanup/elevated/BashTaskAppleScriptStart.h"

#include <sys/stat.h>

#include <cstring>
#include <thread>

namespace korvex {

namespace {

std::mutex gElevationMutex;
std::vector<std::string> gElevationCommand{"pkexec"};

}  // namespace

std::vector<std::string> BashTaskAppleScriptStart::elevationCommand() {
    std::lock_guard guard(gElevationMutex);
    return gElevationCommand;
}

void BashTaskAppleScriptStart::setElevationCommand(std::vector<std::string> command) {
    std::lock_guard guard(gElevationMutex);
    gElevationCommand = std::move(command);
}

std::shared_ptr<BashTaskAppleScriptStart> BashTaskAppleScriptStart::start(
    ScriptExecutionParameters parameters, ResultHandler resultHandler) {
    std::shared_ptr<BashTaskAppleScriptStart> start(
        new BashTaskAppleScriptStart(std::move(parameters), std::move(resultHandler)));
    start->launch();
    return start;
}

void BashTaskAppleScriptStart::launch() {
    std::vector<std::string> argv;
    if (mParameters.useAdminPrivileges) {
        // The elevated shell first leaves a marker: a script that never ran
        // tells a refused or failed prompt from a script that failed.
        argv = elevationCommand();
        argv.insert(argv.end(), {"/bin/bash", "-c", ": > \"$1\" && exec /bin/bash \"$2\"",
                                 "korvex-script", startedMarkerPath(), mParameters.scriptPath});
    } else {
        argv = {"/bin/bash", mParameters.scriptPath};
    }
    int error = 0;
    mProcess = platform::ChildProcess::start(argv, mParameters.outputPath, error);
    if (!mProcess) {
        report({false,
                {{kBashTaskPosixErrorDomain, error,
                  "The script could not be started (" + argv.front() +
                      "): " + std::strerror(error)}}});
        return;
    }
    std::thread([self = shared_from_this(), process = *mProcess] {
        const int status = process.wait();
        platform::MainQueue::shared().async([self, status] { self->ended(status); });
    }).detach();
}

void BashTaskAppleScriptStart::ended(int status) {
    struct stat info {};
    if (mParameters.useAdminPrivileges && ::lstat(startedMarkerPath().c_str(), &info) != 0) {
        report({false,
                {{kBashTaskErrorDomain, BashTaskUserCanceledError,
                  "Administrator rights were not granted (the prompt was refused or could not be "
                  "shown; exit status " +
                      std::to_string(status) + "), so nothing was changed."}}});
        return;
    }
    report({true, {}});
}

void BashTaskAppleScriptStart::report(Outcome outcome) {
    if (resultHandler) {
        auto handler = std::move(resultHandler);
        resultHandler = nullptr;
        platform::MainQueue::shared().async(
            [handler = std::move(handler), outcome = std::move(outcome)] { handler(outcome); });
    }
}

void BashTaskAppleScriptStart::terminate() const {
    if (mProcess) {
        mProcess->terminate();
    }
}

std::optional<pid_t> BashTaskAppleScriptStart::taskProcessId() const {
    if (!mProcess) {
        return std::nullopt;
    }
    return mProcess->pid();
}

}  // namespace korvex
