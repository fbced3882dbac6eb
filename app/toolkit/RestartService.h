#pragma once

#include <functional>
#include <vector>

namespace korvex {

// Quits the application and opens it again, for when a file-system call
// hangs beyond recovery. Interested parties learn whether the user went
// through with the relaunch.
class RestartService {
  public:
    void registerBeforeRestart(std::function<void()> callback) {
        mBefore.push_back(std::move(callback));
    }
    void registerRestartDeclined(std::function<void()> callback) {
        mDeclined.push_back(std::move(callback));
    }
    // Starts a new instance of this program with the same arguments, then quits.
    void restart();
    void decline();

  private:
    std::vector<std::function<void()>> mBefore;
    std::vector<std::function<void()>> mDeclined;
};

}  // namespace korvex
