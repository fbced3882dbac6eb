#include "access/GrantAccessTexts.h"

#include "platform/Localization.h"

namespace korvex::GrantAccessTexts {

namespace {

constexpr const char* kTable = "GrantAccessAlertLocalizable";

std::string text(const char* key, const char* english) {
    return platform::localized(kTable, {key, english, "access question"});
}

AccessSheetText grantOrLater(std::string message, std::string informative) {
    return {std::move(message), std::move(informative), text("Grant Access", "Grant Access"),
            text("Later", "Later")};
}

std::string fill(std::string pattern, const std::string& value) {
    std::size_t at = pattern.find("%@");
    return at == std::string::npos ? pattern : pattern.replace(at, 2, value);
}

}  // namespace

AccessSheetText rescanAdvice() {
    return {text("RescanAdviceMessage", "The folder was not scanned"),
            text("RescanAdviceInfo", "Perform a rescan to refresh data."), text("Rescan", "Rescan"),
            text("Later", "Later")};
}

AccessSheetText grantAccessRequiredToScan(bool isVolume, const std::string& path) {
    if (isVolume) {
        return grantOrLater(text("CannotScanVolume", "Cannot scan the volume"),
                            fill(text("CannotScanVolumeInfo",
                                      "Grant Access to scan the \"%@\" volume.\n"
                                      "Perform rescan to refresh data."),
                                 path));
    }
    return grantOrLater(text("CannotScanFolder", "Cannot scan the folder"),
                        fill(text("CannotScanFolderInfo",
                                  "Grant Access to scan the \"%@\" folder.\n"
                                  "Perform rescan to refresh data."),
                             path));
}

AccessSheetText notScannedFolders(const std::vector<std::string>& folders) {
    std::string list;
    for (const std::string& folder : folders) {
        list += (list.empty() ? "" : "\n") + folder;
    }
    bool one = folders.size() == 1;
    return grantOrLater(
        one ? text("OneFolderNotScanned", "Folder was not scanned due to lack of access")
            : text("FoldersNotScanned", "Some folders were not scanned due to lack of access"),
        fill(one ? text("OneFolderNotScannedInfo",
                        "Grant read access to calculate size for the detected inaccessible "
                        "folder:\n%@\nPerform rescan to refresh data.")
                 : text("FoldersNotScannedInfo",
                        "Grant read access to calculate size for the detected inaccessible "
                        "folders:\n%@\nPerform rescan to refresh data."),
             list));
}

}  // namespace korvex::GrantAccessTexts
