#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace korvex {

enum class OptionallyAccessibleFolderType : std::uint8_t {
    documents = 0,
    desktop = 1,
    downloads = 2
};

// A kind of access the user may grant: one of the optional folders, or the
// whole disk. Stored in one byte: 0–2 the folders, 3 the whole disk.
enum class AccessType : std::uint8_t { documents = 0, desktop = 1, downloads = 2, fullDisk = 3 };
inline constexpr std::array<AccessType, 4> kAllAccessTypes = {
    AccessType::documents, AccessType::desktop, AccessType::downloads, AccessType::fullDisk};

enum class Availability : std::uint8_t {
    available = 0,
    unavailable = 1,
    grantedAfterScanStarted = 2,
    lockedAfterScanStarted = 3,
};

// The folder of an optional-folder type.
std::string folderPathFor(OptionallyAccessibleFolderType type);
// Whether the process can read that folder now.
bool isOptionallyAccessibleFolderAccessible(OptionallyAccessibleFolderType type);
// Whether the process can read everything.
bool isFullDiskAccessGranted();
// The current availability of one kind of access.
bool currentAccess(AccessType type);

}  // namespace korvex
