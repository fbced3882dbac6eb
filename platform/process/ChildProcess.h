#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

namespace korvex::platform {

// A program started in a process group of its own, reading nothing and
// writing its standard output and error into one file.
class ChildProcess {
  public:
    // argv[0] is looked up in PATH. Nothing, with `error` set to the errno
    // value, when the output file cannot be made or the program not started.
    static std::optional<ChildProcess> start(const std::vector<std::string>& argv,
                                             const std::string& outputPath, int& error);

    pid_t pid() const { return mPid; }
    // Blocks until the program ends; answers its exit status, or 128 plus the
    // signal that ended it.
    int wait() const;
    // Asks the program and what it started to end; a program running with
    // other rights may not be reachable.
    void terminate() const;

  private:
    explicit ChildProcess(pid_t pid) : mPid(pid) {}
    pid_t mPid;
};

}  // namespace korvex::platform
