#pragma once

#include "cleanup/elevated/BashScript.h"
#include "cleanup/elevated/BashTaskAppleScriptStart.h"
#include "cleanup/elevated/BashTaskResult.h"
#include "platform/dispatch/MainQueue.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace korvex {

class BashSudoLauncher;
class BashTask;

class BashTaskListener {
  public:
    virtual ~BashTaskListener() = default;
    virtual void bashTaskDidFinish(const BashTask& task, const BashTaskResult& result) = 0;
};

enum class BashTaskStartBehaviour { BashTaskAppleScriptStart, BashTaskSudoShellStart };

// One run of a script: the text is built (off the main thread when the
// script allows), written to "script.sh" in a fresh folder, run directly or
// by the privileged runner, and its output read back for error blocks. Lives
// on the main thread; the completion and the listener are told there, once.
class BashTask : public std::enable_shared_from_this<BashTask> {
  public:
    using Completion = std::function<void(const BashTaskResult&)>;
    static constexpr const char* scriptFileName = "script.sh";
    static constexpr const char* outputFileName = "output.txt";

    // `launcher` runs the tasks that need administrator rights; without one
    // they are started directly.
    BashTask(BashScriptRef script, Completion completion, std::optional<double> timeout,
             bool forceAppleScriptStart, std::weak_ptr<BashSudoLauncher> launcher);

    void setListener(std::weak_ptr<BashTaskListener> listener) { mListener = std::move(listener); }
    // Runs once; later calls do nothing.
    void start();
    // Ends the task with what the script wrote and the failures around it.
    void complete(bool performed, std::string_view output, std::vector<BashTaskError> failures);

    bool isStarted() const { return mIsStarted; }
    bool isFinished() const { return mIsFinished; }
    const BashScriptRef& script() const { return mScript; }
    BashTaskStartBehaviour behaviour() const { return mBehaviour; }
    // Empty until the script is written.
    const std::string& shellScriptFolderURL() const { return mShellScriptFolder; }
    std::string scriptPath() const { return mShellScriptFolder + "/" + scriptFileName; }
    std::string outputPath() const { return mShellScriptFolder + "/" + outputFileName; }

  private:
    void run(const std::string& text);
    std::optional<BashTaskError> writeScript(const std::string& text);
    void timeOut();
    void finish(const BashTaskResult& result);

    std::weak_ptr<BashTaskListener> mListener;
    BashScriptRef mScript;
    Completion mCompletion;
    std::optional<double> mTimeout;
    bool mForceAppleScriptStart;
    std::weak_ptr<BashSudoLauncher> mLauncher;
    bool mIsStarted = false;
    bool mIsFinished = false;
    BashTaskStartBehaviour mBehaviour = BashTaskStartBehaviour::BashTaskAppleScriptStart;
    std::string mShellScriptFolder;
    std::shared_ptr<BashTaskAppleScriptStart> mDirectStart;
    std::optional<platform::MainQueue::TimerId> mTimeoutTimer;
};

}  // namespace korvex
