#pragma once

#include "platform/UniqueFd.h"

#include <sys/types.h>

#include <string>
#include <variant>

namespace korvex::platform {

// The user whose cache may be emptied, and the home that must never be.
struct CacheFolderOwner {
    std::string home;
    uid_t uid = 0;

    static CacheFolderOwner current();
};

// Nothing is at the path (ENOENT): there is nothing to empty.
struct CacheFolderMissing {};

// A folder may be emptied only when it is a folder of its own: owned by the
// user, not the root folder, not the home folder and not one that holds it,
// and reached from "/" without passing a symbolic link. Answers the folder,
// open for reading (callers work on this handle, never on the path again),
// or the reason it is refused, in words for the user.
std::variant<UniqueFd, CacheFolderMissing, std::string> openCacheFolderToEmpty(
    const std::string& folder, const CacheFolderOwner& owner);

}  // namespace korvex::platform
