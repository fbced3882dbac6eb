#include "scan/skip/TWalkerSkipList.h"

#include "scan/skip/FullDiskAccess.h"

namespace korvex {

TWalkerSkipList::TWalkerSkipList() : TWalkerSkipList(platform::UserFolders::current()) {}

TWalkerSkipList::TWalkerSkipList(const platform::UserFolders& folders)
    // Per-user application data and support files both live in the XDG data home.
    : userLibraryPath(folders.dataHome()), userApplicationSupportPath(folders.dataHome()) {}

bool TWalkerSkipList::isInExcludeListName(std::string_view name,
                                          std::string_view folderPath) const {
    // Cheap test first: this runs for every entry of a scan.
    if (name.empty() || (name[0] != 'C' && name[0] != 'A')) {
        return false;
    }
    auto in = [&](const std::string& folder) { return !folder.empty() && folderPath == folder; };
    if (name == "Calendars" && in(userLibraryPath)) {
        return true;
    }
    if (name == "AddressBook" && in(userApplicationSupportPath)) {
        return true;
    }
    return name == "Containers" && in(userLibraryPath) &&
           !FullDiskAccess::current().isFullDiskAccessGranted();
}

}  // namespace korvex
