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

PurgeableConfirmationText confirmation(std::uint64_t amount, const std::string& volumeName) {
    return {
        L::text(L::kConfirmMessage),
        platform::fillPlaceholders(L::text(L::kConfirmInformative),
                                   {kApplicationName, formatMemoryStringDot1(amount), volumeName}),
        L::text(L::kFreeUp), L::text(L::kCancel)};
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
