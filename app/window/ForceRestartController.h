#pragma once

#include <functional>
#include <string>

namespace korvex {

class RestartService;

// Remembers the scan in progress so that, after the application was forced
// to quit and reopen, the same target is scanned again.
class ForceRestartController {
  public:
    static constexpr const char* kShouldScanOnRelaunch =
        "ForceRestartController.shouldScanOnRelaunch";
    static constexpr const char* kLastScanPathKey = "ForceRestartController.lastScanPathKey";

    explicit ForceRestartController(RestartService* service = nullptr);

    void onScanStartedWith(const std::string& path);
    void onScanFinished();
    void registerStartScanWithBlock(std::function<void(const std::string& path)> block);
    // At launch: runs the start block once with the stored path when the
    // last run ended in a forced relaunch during a scan.
    void onAppLaunched();

  private:
    std::function<void(const std::string&)> mStartBlock;
};

}  // namespace korvex
