#include "browse/search/SearchItemsOperation.h"

#include "browse/search/NameSearch.h"
#include "platform/dispatch/MainQueue.h"

namespace korvex {

void SearchItemsOperation::main() {
    ItemList hits = searchItemsByName(*mFolder, mQuery, [this] { return isCancelled(); });
    mStarted = false;
    if (isCancelled()) {
        hits.clear();
    }
    platform::MainQueue::shared().async(
        [completion = std::move(mCompletion), hits = std::move(hits)]() mutable {
            completion(std::move(hits));
        });
}

}  // namespace korvex
