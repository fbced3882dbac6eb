#pragma once

#include "cleanup/elevated/records/ElevatedRecords.h"
#include "platform/UniqueFd.h"

#include <sys/stat.h>
#include <sys/types.h>

#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace korvex::elevated {

// Who the work is done for: the user who asked, whose Trash folders these
// are and who owns every folder the helper makes for them.
struct Requester {
    uid_t uid = 0;
    gid_t gid = 0;
};

// A refusal or failure, with the sentence the user reads.
struct WalkFailure {
    int error = 0;
    std::string message;
};

// An item reached from "/" one component at a time, none of them a symbolic
// link: the open chain of folders down to its parent, and the item's own
// status, read inside the held parent. Whatever is renamed or replaced
// above the item afterwards, the held parent stays the folder that was
// walked.
struct WalkedItem {
    std::vector<platform::UniqueFd> folders;  // "/" first, the item's parent last
    std::vector<struct stat> folderStatus;    // one per folder
    std::vector<std::string> names;           // the name of each folder after "/", then the item's
    struct stat status {};

    int parent() const { return folders.back().get(); }
    const std::string& name() const { return names.back(); }
};

// The path split at its slashes; nothing for a path that is not absolute,
// names the root itself or has a "." or ".." component (an item is always
// named by its plain path).
std::optional<std::vector<std::string>> plainComponents(const std::string& path);

// Walks to the item and checks that it is still the file recorded when the
// user collected it; a link on the way or another file at the path is
// refused, and nothing is changed either way.
std::variant<WalkedItem, WalkFailure> walkToCollectedItem(const TargetItem& target);

// Opens the folder `name` inside `parent` without following a link, making
// it (0700, owned by the requester) when it is missing. An existing one must
// be a real folder that the requester owns: a folder someone else made there
// must not receive this user's files.
std::variant<platform::UniqueFd, WalkFailure> openOwnedFolder(int parent, const std::string& name,
                                                              const Requester& requester,
                                                              const std::string& shownPath);

}  // namespace korvex::elevated
