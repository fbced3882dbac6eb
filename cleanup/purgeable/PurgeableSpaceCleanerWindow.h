#pragma once

#include <functional>
#include <string>

namespace korvex {

struct PurgeableAlertText {
    std::string message;
    std::string informative;
};

// The confirmation sheet also carries a "do not ask again" check box.
struct PurgeableConfirmationText {
    std::string message;
    std::string informative;
    std::string confirmButton;
    std::string cancelButton;
};

// What the cleaner needs of the window it works for: alerts and the
// confirmation sheet, both shown as sheets so the event loop keeps running.
class PurgeableSpaceCleanerWindow {
  public:
    virtual ~PurgeableSpaceCleanerWindow() = default;
    // An information alert with one button to close it.
    virtual void showPurgeableSpaceAlert(const PurgeableAlertText& text) = 0;
    // `answer` gets whether the user confirmed and whether the check box was ticked.
    virtual void askToFreeUpPurgeableSpace(
        const PurgeableConfirmationText& text,
        std::function<void(bool confirmed, bool suppress)> answer) = 0;
};

}  // namespace korvex
