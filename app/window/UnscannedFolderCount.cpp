#include "app/window/UnscannedFolderCount.h"

#include "diagram/RadialController.h"
#include "platform/fs/FolderEntryCount.h"

#include <chrono>
#include <memory>

namespace korvex {

namespace {

// The hint asks on every pointer move; a big folder is listed again only
// after this long, so entries added meanwhile still show up soon.
constexpr std::chrono::seconds kCountKeptFor{2};

struct LastCount {
    std::string folder;
    std::optional<std::int64_t> entries;
    std::chrono::steady_clock::time_point at;
};

}  // namespace

void countUnscannedFolderEntries(RadialController& radial) {
    auto last = std::make_shared<LastCount>();
    radial.setUnscannedItemsCounter(
        [last](const std::string& folder) -> std::optional<std::int64_t> {
            const auto now = std::chrono::steady_clock::now();
            if (folder != last->folder || now - last->at > kCountKeptFor) {
                *last = {folder, platform::countFolderEntries(folder), now};
            }
            return last->entries;
        });
}

}  // namespace korvex
