// Stands in for pkexec in the tests: "--answer=grant" runs the program that
// follows as root in this very process, with PKEXEC_UID naming the caller,
// as pkexec does; the other answers end the way pkexec ends when the prompt
// is dismissed, the user is refused, or no authentication agent runs. It can
// become root only because the tests drop their effective ids alone and keep
// root as the real one; it is never installed with rights of its own.

#include <grp.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fputs("usage: korvex-elevation-standin --answer=KIND PROGRAM [ARG...]\n", stderr);
        return 2;
    }
    const std::string answer = argv[1];
    if (answer == "--answer=dismiss") {
        std::fputs("Error executing command as another user: Request dismissed\n", stderr);
        return 126;
    }
    if (answer == "--answer=deny") {
        std::fputs(
            "Error executing command as another user: Not authorized\n\n"
            "This incident has been reported.\n",
            stderr);
        return 127;
    }
    if (answer == "--answer=no-agent") {
        std::fputs("Error executing command as another user: No authentication agent found.\n",
                   stderr);
        return 127;
    }
    if (answer != "--answer=grant") {
        return 2;
    }
    const std::string caller = std::to_string(::geteuid());
    if (::setresuid(0, 0, 0) != 0 || ::setresgid(0, 0, 0) != 0 || ::setgroups(0, nullptr) != 0) {
        std::perror("korvex-elevation-standin");
        return 127;
    }
    ::clearenv();
    ::setenv("PKEXEC_UID", caller.c_str(), 1);
    ::execv(argv[2], argv + 2);
    std::perror("korvex-elevation-standin");
    return 127;
}
