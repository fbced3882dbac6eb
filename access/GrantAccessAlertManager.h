#pragma once

#include "access/GrantAccessTexts.h"

#include <functional>

namespace korvex {

// Shows the access questions; the window layer implements it with sheets.
// Each completion learns whether the first button was pressed.
class GrantAccessAlertManager {
  public:
    virtual ~GrantAccessAlertManager() = default;
    virtual void show(const AccessSheetText& sheet, std::function<void(bool first)> done) = 0;
    // The same, with a "do not show again" check box whose state is handed over.
    virtual void showWithSuppression(const AccessSheetText& sheet,
                                     std::function<void(bool first, bool suppress)> done) = 0;
};

}  // namespace korvex
