#pragma once

#include "cleanup/elevated/helper/SafeWalk.h"

#include <optional>
#include <string>

namespace korvex::elevated {

// Moves collected items into the freedesktop.org Trash of the user who
// asked: the home Trash for items on its file system, else the volume's
// "$topdir/.Trash/$uid" (when .Trash is a sticky folder and not a link) or
// "$topdir/.Trash-$uid". Every folder it makes is the user's; an item is
// renamed inside its file system, never copied, and a same-named entry in
// the Trash is never replaced. One per request.
class RootTrash {
  public:
    RootTrash(std::string homeTrash, Requester requester)
        : mHomeTrash(std::move(homeTrash)), mRequester(requester) {}

    ItemOutcome trash(const TargetItem& target);

  private:
    struct TrashFolders {
        platform::UniqueFd files;
        platform::UniqueFd info;
        dev_t device = 0;
        // Empty for the home Trash, whose information keeps absolute paths;
        // a volume's keeps them relative to its top folder.
        std::optional<std::size_t> topIndex;
    };

    std::variant<TrashFolders, WalkFailure> homeTrashFolders();
    std::variant<TrashFolders, WalkFailure> volumeTrashFolders(const WalkedItem& item,
                                                               std::size_t top);
    std::variant<TrashFolders, WalkFailure> foldersInside(platform::UniqueFd trash,
                                                          const std::string& shown);
    ItemOutcome moveInto(const WalkedItem& item, const TargetItem& target,
                         const TrashFolders& folders);

    std::string mHomeTrash;
    Requester mRequester;
    // Opened once for the request, on its first item on that file system.
    std::optional<std::variant<TrashFolders, WalkFailure>> mHome;
};

}  // namespace korvex::elevated
