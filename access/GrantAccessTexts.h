#pragma once

#include <string>
#include <vector>

namespace korvex {

// The wording of one access question: its message, informative text and
// two buttons (the first one grants or rescans).
struct AccessSheetText {
    std::string message;
    std::string informative;
    std::string firstButton;
    std::string secondButton;
};

namespace GrantAccessTexts {
AccessSheetText rescanAdvice();
AccessSheetText grantAccessRequiredToScan(bool isVolume, const std::string& path);
AccessSheetText notScannedFolders(const std::vector<std::string>& folders);
}  // namespace GrantAccessTexts

}  // namespace korvex
