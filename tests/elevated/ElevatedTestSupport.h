#pragma once

#include "cleanup/elevated/BashTaskAppleScriptStart.h"
#include "platform/dispatch/MainQueue.h"
#include "platform/process/ChildProcess.h"
#include "support/TempTree.h"

#include <sys/stat.h>

#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace korvex::test {

inline std::string readFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

inline void writeFile(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

inline bool existsNoFollow(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

struct BashRun {
    int status = -1;
    std::string output;
};

// Runs `script` with bash from a file in `tree`, as the generated scripts are
// run, after the command `prefix` when given; the output holds standard output
// and error.
inline BashRun runBash(const TempTree& tree, const std::string& script,
                       std::vector<std::string> prefix = {}) {
    const std::string scriptPath = tree.path("run-script.sh");
    const std::string outputPath = tree.path("run-output.txt");
    writeFile(scriptPath, script);
    prefix.insert(prefix.end(), {"/bin/bash", scriptPath});
    int error = 0;
    auto process = platform::ChildProcess::start(prefix, outputPath, error);
    if (!process) {
        return {};
    }
    BashRun run{process->wait(), readFile(outputPath)};
    std::remove(scriptPath.c_str());
    std::remove(outputPath.c_str());
    return run;
}

// Points an environment variable elsewhere for the life of the object.
class ScopedEnvironment {
  public:
    ScopedEnvironment(const char* name, const std::string& value) : mName(name) {
        if (const char* old = std::getenv(name)) {
            mOld = old;
        }
        ::setenv(name, value.c_str(), 1);
    }
    ~ScopedEnvironment() {
        if (mOld) {
            ::setenv(mName, mOld->c_str(), 1);
        } else {
            ::unsetenv(mName);
        }
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

  private:
    const char* mName;
    std::optional<std::string> mOld;
};

// A stand-in for the system's elevation command: it runs the command it is
// given without asking, or refuses like a dismissed password prompt.
class StandInElevation {
  public:
    enum class Answer { Grant, Refuse };
    StandInElevation(const TempTree& tree, Answer answer) {
        const std::string path = tree.path(answer == Answer::Grant ? "grant.sh" : "refuse.sh");
        writeFile(path, answer == Answer::Grant
                            ? "#!/bin/bash\nexec \"$@\"\n"
                            : "#!/bin/bash\necho 'Error executing command as another user: Not "
                              "authorized' >&2\nexit 126\n");
        ::chmod(path.c_str(), 0755);
        BashTaskAppleScriptStart::setElevationCommand({path});
    }
    ~StandInElevation() { BashTaskAppleScriptStart::setElevationCommand({"pkexec"}); }
    StandInElevation(const StandInElevation&) = delete;
    StandInElevation& operator=(const StandInElevation&) = delete;
};

// Every test of tasks serves the main queue on its own thread, and keeps the
// folders that tasks make inside its temporary tree.
class TaskFixture {
  public:
    TaskFixture() : mTmpDir("TMPDIR", tree.folder("tmp")) {
        platform::MainQueue::shared().bindToCurrentThread();
        platform::MainQueue::shared().runPending();
    }
    template <class Done>
    bool serveUntil(Done done, std::chrono::milliseconds limit = std::chrono::seconds(10)) {
        return platform::MainQueue::shared().runUntil(done, limit);
    }
    TempTree tree;

  private:
    ScopedEnvironment mTmpDir;
};

}  // namespace korvex::test
