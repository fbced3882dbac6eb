// korvex-elevated: the administrator helper. Started through pkexec by the
// application, it reads requests on its standard input and answers on its
// standard output; it takes no path, script or request from anywhere else.

#include "cleanup/elevated/helper/HelperSession.h"

#include <linux/close_range.h>
#include <pwd.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

using korvex::elevated::kRefusedStartStatus;

int refuse(const char* why) {
    std::fprintf(stderr, "korvex-elevated: %s\n", why);
    return kRefusedStartStatus;
}

// A decimal number of at least `least`, and nothing else.
std::optional<long> numberArgument(const std::string& text, long least = 1) {
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || errno != 0 || value < least) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

int main(int argc, char** argv) {
    // Killed with the application. The signal follows the process that
    // started this one, so that must be the application itself: pkexec
    // replaces itself with the helper rather than waiting between.
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    std::optional<long> parent;
    long idleSeconds = 300;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        const std::optional<long> value = numberArgument(argv[i + 1]);
        if (option == "--parent" && value) {
            parent = value;
        } else if (option == "--idle-seconds" && value) {
            idleSeconds = std::min(*value, 3600L);
        } else {
            return refuse("usage: korvex-elevated --parent PID [--idle-seconds N]");
        }
    }
    if (!parent || ::getppid() != *parent) {
        return refuse(
            "not started directly by the application that asked, so it would not end "
            "with it");
    }
    const char* caller = std::getenv("PKEXEC_UID");
    const std::optional<long> uid = caller ? numberArgument(caller, 0) : std::nullopt;
    if (!uid) {
        return refuse("started without pkexec; the requesting user is unknown");
    }
    korvex::elevated::Requester requester{static_cast<uid_t>(*uid), static_cast<gid_t>(-1)};
    if (const passwd* entry = ::getpwuid(requester.uid)) {
        requester.gid = entry->pw_gid;
    }
    ::clearenv();
    ::umask(077);
    if (::chdir("/") != 0) {
        return refuse("the root folder cannot be entered");
    }
    std::signal(SIGPIPE, SIG_IGN);
    // Nothing the application might have left open reaches the work.
    ::syscall(SYS_close_range, 3U, ~0U, 0U);
    korvex::elevated::HelperSession session(STDIN_FILENO, STDOUT_FILENO, requester,
                                            std::chrono::seconds(idleSeconds));
    return session.run();
}
