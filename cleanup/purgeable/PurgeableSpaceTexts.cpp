#include "cleanup/purgeable/PurgeableSpaceTexts.h"

#include "cleanup/purgeable/PurgeableSpaceCleanerLocalizable.h"
#include "scan/format/SizeFormatter.h"

namespace korvex::purgeableTexts {

namespace L = PurgeableSpaceCleanerLocalizable;

namespace {
constexpr const char* kApplicationName = "Korvex";
}

PurgeableAlertText notCompleted() {
    return {L::text(L::kNotCompleted), {}};
}

PurgeableConfirmationText confirmation(std::uint64_t amount, const std::string& volumeName,
                                       const std::vector<std::string>& cacheFolders) {
    const std::string size = formatMemoryStringDot1(amount);
    std::string informative = platform::fillPlaceholders(L::text(L::kConfirmInformative),
                                                         {kApplicationName, size, volumeName});
    if (!cacheFolders.empty()) {
        std::string folders;
        for (const std::string& folder : cacheFolders)
            folders += (folders.empty() ? "\"" : ", \"") + folder + "\"";
        informative +=
            "\n\n" + platform::fillPlaceholders(L::text(L::kConfirmFolders), {folders, size});
    }
    return {L::text(L::kConfirmMessage), std::move(informative), L::text(L::kFreeUp),
            L::text(L::kCancel)};
}

PurgeableAlertText freedUp(const std::string& volumeName) {
    return {platform::fillPlaceholders(L::text(L::kFreedTitle), {volumeName}),
            L::text(L::kFreedText)};
}

PurgeableAlertText failed(const std::string& volumeName, const std::string& error) {
    return {platform::fillPlaceholders(L::text(L::kFailedTitle), {volumeName}), error};
}

std::string freeUpMenuItem() {
    return L::text(L::kMenuItem);
}

std::string freeingUpLabel() {
    return L::text(L::kFreeingLabel);
}

}  // namespace korvex::purgeableTexts
