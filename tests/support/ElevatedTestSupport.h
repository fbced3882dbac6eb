#pragma once

#include "cleanup/elevated/ElevatedHelper.h"
#include "platform/dispatch/MainQueue.h"
#include "support/AsNobody.h"
#include "support/TempTree.h"

#include <sys/stat.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <string>

namespace korvex::test {

// The real helper started through the stand-in for pkexec, which answers
// the prompt with `answer` ("grant", "dismiss", "deny", "no-agent").
inline ElevatedLaunch standInLaunch(const std::string& answer = "grant",
                                    std::chrono::seconds idle = std::chrono::seconds(30)) {
    return {{KORVEX_ELEVATION_STANDIN, "--answer=" + answer}, KORVEX_ELEVATED_HELPER, idle};
}

inline bool existsNoFollow(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

inline std::string readFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

inline uid_t ownerOf(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 ? info.st_uid : static_cast<uid_t>(-1);
}

// Serves the main queue on the test's thread.
class MainQueueFixture {
  public:
    MainQueueFixture() {
        platform::MainQueue::shared().bindToCurrentThread();
        platform::MainQueue::shared().runPending();
    }
    template <class Done>
    bool serveUntil(Done done, std::chrono::milliseconds limit = std::chrono::seconds(10)) {
        return platform::MainQueue::shared().runUntil(done, limit);
    }
};

}  // namespace korvex::test
