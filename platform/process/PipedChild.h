#pragma once

#include "platform/UniqueFd.h"

#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

namespace korvex::platform {

// A program started with a pipe on each of its standard input, output and
// error. This process's ends are closed on exec, so no other program it
// starts holds them: the child sees the end of its input exactly when this
// side closes it or this process ends.
struct PipedChild {
    pid_t pid = -1;
    UniqueFd input;   // written here, the child's standard input
    UniqueFd output;  // the child's standard output
    UniqueFd errors;  // the child's standard error

    // argv[0] is looked up in PATH. Nothing, with `error` set to the errno
    // value, when the program cannot be started.
    static std::optional<PipedChild> start(const std::vector<std::string>& argv, int& error);
};

// Blocks until the process ends; answers its exit status, or 128 plus the
// signal that ended it.
int waitForExit(pid_t pid);

}  // namespace korvex::platform
