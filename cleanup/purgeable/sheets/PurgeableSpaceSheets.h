#pragma once

#include "cleanup/purgeable/PurgeableSpaceCleanerWindow.h"

#include <QPointer>
#include <QWidget>

namespace korvex {

// The cleaner's alerts and its confirmation as sheets of a window; nothing
// is shown once the window is gone.
class PurgeableSpaceSheets : public PurgeableSpaceCleanerWindow {
  public:
    explicit PurgeableSpaceSheets(QWidget* window) : mWindow(window) {}

    void showPurgeableSpaceAlert(const PurgeableAlertText& text) override;
    void askToFreeUpPurgeableSpace(
        const PurgeableConfirmationText& text,
        std::function<void(bool confirmed, bool suppress)> answer) override;

  private:
    QPointer<QWidget> mWindow;
};

}  // namespace korvex
