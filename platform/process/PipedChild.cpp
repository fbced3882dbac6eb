#include "platform/process/PipedChild.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

extern char** environ;

namespace korvex::platform {

namespace {

struct Pipe {
    UniqueFd read;
    UniqueFd write;
};

std::optional<Pipe> makePipe() {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) {
        return std::nullopt;
    }
    return Pipe{UniqueFd(ends[0]), UniqueFd(ends[1])};
}

}  // namespace

std::optional<PipedChild> PipedChild::start(const std::vector<std::string>& argv, int& error) {
    error = 0;
    if (argv.empty()) {
        error = EINVAL;
        return std::nullopt;
    }
    auto in = makePipe();
    auto out = makePipe();
    auto err = makePipe();
    if (!in || !out || !err) {
        error = errno;
        return std::nullopt;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in->read.get(), 0);
    posix_spawn_file_actions_adddup2(&actions, out->write.get(), 1);
    posix_spawn_file_actions_adddup2(&actions, err->write.get(), 2);
    std::vector<char*> args;
    args.reserve(argv.size() + 1);
    for (const std::string& arg : argv) {
        args.push_back(const_cast<char*>(arg.c_str()));
    }
    args.push_back(nullptr);
    pid_t pid = -1;
    error = ::posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) {
        return std::nullopt;
    }
    return PipedChild{pid, std::move(in->write), std::move(out->read), std::move(err->read)};
}

int waitForExit(pid_t pid) {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) {
            return 128;
        }
    }
    if (WIFSIGNALED(status)) {
        return 128 + WTERMSIG(status);
    }
    return WEXITSTATUS(status);
}

}  // namespace korvex::platform
