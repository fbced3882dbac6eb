#include "platform/process/ChildProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>

extern char** environ;

namespace korvex::platform {

std::optional<ChildProcess> ChildProcess::start(const std::vector<std::string>& argv,
                                                const std::string& outputPath, int& error) {
    error = 0;
    if (argv.empty()) {
        error = EINVAL;
        return std::nullopt;
    }
    // Opened here so that a bad output path is reported as such, not as a
    // failure of the program.
    const int output = ::open(outputPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (output < 0) {
        error = errno;
        return std::nullopt;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, output, 1);
    posix_spawn_file_actions_adddup2(&actions, output, 2);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);

    std::vector<char*> args;
    args.reserve(argv.size() + 1);
    for (const std::string& arg : argv) {
        args.push_back(const_cast<char*>(arg.c_str()));
    }
    args.push_back(nullptr);
    pid_t pid = 0;
    error = ::posix_spawnp(&pid, args[0], &actions, &attributes, args.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    ::close(output);
    if (error != 0) {
        return std::nullopt;
    }
    return ChildProcess(pid);
}

int ChildProcess::wait() const {
    int status = 0;
    while (::waitpid(mPid, &status, 0) < 0) {
        if (errno != EINTR) {
            return 128;
        }
    }
    if (WIFSIGNALED(status)) {
        return 128 + WTERMSIG(status);
    }
    return WEXITSTATUS(status);
}

void ChildProcess::terminate() const {
    ::kill(-mPid, SIGTERM);
}

}  // namespace korvex::platform
