#pragma once

#include <chrono>
#include <string>
#include <utility>

namespace korvex::platform {

// Runs a blocking system call with a time limit. There is no extra thread or
// context switch per call: the calling thread records its deadline in a slot
// of its own, and one process-wide watchdog thread, waking a few times a
// second, interrupts calls past their deadline with a signal whose handler
// does nothing, so the call returns EINTR. A path whose call hung once is
// remembered, and later calls for it answer the default at once instead of
// hanging again (a dead network mount stays dead for the whole session).
class LimitedTimePerformer {
  public:
    template <class Fn, class Result>
    static Result perform(std::chrono::milliseconds limit, Result defaultValue, const char* method,
                          const std::string& path, Fn&& fn) {
        if (isKnownHung(path)) {
            return defaultValue;
        }
        beginCall(limit);
        Result result = std::forward<Fn>(fn)();
        if (endCall()) {
            reportHung(method, path);
            return defaultValue;
        }
        return result;
    }

    // Whether some call is still running past its limit: the signal could not
    // end it (an uninterruptible wait on a dead device), so the thread that
    // made it cannot be stopped either.
    static bool isScanStuck();
    // Forgets the paths that hung (a new scan may try them again).
    static void forgetHungPaths();

  private:
    static void beginCall(std::chrono::milliseconds limit);
    // Answers whether the call was interrupted.
    static bool endCall();
    static bool isKnownHung(const std::string& path);
    static void reportHung(const char* method, const std::string& path);
};

}  // namespace korvex::platform
