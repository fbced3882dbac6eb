#include "scan/skip/TWalkerSkipList.h"

#include "scan/skip/FullDiskAccess.h"

namespace korvex {

TWalkerSkipList::TWalkerSkipList() : TWalkerSkipList(platform::UserFolders::current()) {}

TWalkerSkipList::TWalkerSkipList(const platform::UserFolders& folders)
    : userLibraryPath(folders.folder(platform::UserFolderKind::Library).value_or("")),
      userApplicationSupportPath(
          folders.folder(platform::UserFolderKind::ApplicationSupport).value_or("")),
      userPreferencesPath(folders.folder(platform::UserFolderKind::Preferences).value_or("")) {}

bool TWalkerSkipList::isInExcludeListName(std::string_view name,
                                          std::string_view folderPath) const {
    // Cheap test first: this runs for every entry of a scan.
    if (name.empty() || (name[0] != 'C' && name[0] != 'A' && name[0] != 'c')) {
        return false;
    }
    auto in = [&](const std::string& folder) { return !folder.empty() && folderPath == folder; };
    if (name == "Calendars" && in(userLibraryPath)) {
        return true;
    }
    if (name == "AddressBook" && in(userApplicationSupportPath)) {
        return true;
    }
    if (name == "com.apple.AddressBook.plist" && in(userPreferencesPath)) {
        return true;
    }
    return name == "Containers" && in(userLibraryPath) &&
           !FullDiskAccess::current().isFullDiskAccessGranted();
}

}  // namespace korvex
