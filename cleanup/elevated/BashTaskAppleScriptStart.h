#pragma once

#include "cleanup/elevated/BashTaskResult.h"
#include "platform/dispatch/MainQueue.h"
#include "platform/process/ChildProcess.h"

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace korvex {

// What a direct start needs: the script, whether it runs with administrator
// rights, and the file that takes its standard output and error.
struct ScriptExecutionParameters {
    std::string scriptPath;
    bool useAdminPrivileges = false;
    std::string outputPath;
};

// Runs one script file with bash in a process of its own; with
// administrator rights through the elevation command, whose prompt is the
// system's own (polkit's "pkexec"). Reports once, on the main queue.
class BashTaskAppleScriptStart : public std::enable_shared_from_this<BashTaskAppleScriptStart> {
  public:
    struct Outcome {
        bool performed = false;
        std::vector<BashTaskError> errors;
    };
    using ResultHandler = std::function<void(Outcome)>;

    // The command put before "/bin/bash" for administrator rights; the
    // system's "pkexec" unless replaced (tests run a stand-in).
    static std::vector<std::string> elevationCommand();
    static void setElevationCommand(std::vector<std::string> command);

    static std::shared_ptr<BashTaskAppleScriptStart> start(ScriptExecutionParameters parameters,
                                                           ResultHandler resultHandler);
    // Asks the script to end (a time-out); it still reports.
    void terminate() const;
    std::optional<pid_t> taskProcessId() const;

  private:
    BashTaskAppleScriptStart(ScriptExecutionParameters parameters, ResultHandler handler)
        : mParameters(std::move(parameters)), resultHandler(std::move(handler)) {}
    void launch();
    void ended(int status);
    void report(Outcome outcome);
    std::string startedMarkerPath() const { return mParameters.scriptPath + ".started"; }

    ScriptExecutionParameters mParameters;
    ResultHandler resultHandler;
    std::optional<platform::ChildProcess> mProcess;
};

}  // namespace korvex
