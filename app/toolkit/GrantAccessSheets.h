#pragma once

#include "access/GrantAccessAlertManager.h"

class QWidget;

namespace korvex {

// The access questions as sheets of the main window.
class GrantAccessSheets : public GrantAccessAlertManager {
  public:
    explicit GrantAccessSheets(QWidget* window) : mWindow(window) {}

    void show(const AccessSheetText& sheet, std::function<void(bool first)> done) override;
    void showWithSuppression(const AccessSheetText& sheet,
                             std::function<void(bool first, bool suppress)> done) override;

  private:
    QWidget* mWindow;
};

}  // namespace korvex
