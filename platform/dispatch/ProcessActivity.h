#pragma once

#include <string>

namespace korvex::platform {

// Keeps the system from treating the application as idle while it lives
// (for example during a scan). The desktop inhibitor is asked by the GUI
// layer; here the activity only records its reason for diagnostics.
class ProcessActivity {
  public:
    explicit ProcessActivity(std::string reason);
    ~ProcessActivity();
    ProcessActivity(const ProcessActivity&) = delete;
    ProcessActivity& operator=(const ProcessActivity&) = delete;

    static int activeCount();

  private:
    std::string mReason;
};

}  // namespace korvex::platform
