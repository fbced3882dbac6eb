#pragma once

#include "cleanup/removers/ElevatedRemovalContext.h"
#include "cleanup/removers/RootFileRemover.h"
#include "cleanup/removers/UnifiedRemoveErrorInfo.h"
#include "cleanup/removers/UnifiedRemovedInfoCheckListener.h"

#include <functional>
#include <memory>
#include <vector>

namespace korvex {

// The second attempt at the items the Trash refused: each is classified,
// those whose refusal administrator rights can overcome are removed by the
// root remover, and the listener hears of every item.
class UnifiedFileRemover {
  public:
    // Through the application's one administrator helper, into this user's Trash.
    static UnifiedFileRemover& shared();
    explicit UnifiedFileRemover(ElevatedRemovalContext context);
    UnifiedFileRemover(const UnifiedFileRemover&) = delete;
    UnifiedFileRemover& operator=(const UnifiedFileRemover&) = delete;

    // May be called from any thread: the items are classified on it, the
    // removal runs on the main thread, and the listener and then the
    // completion are called there (on the calling thread at once when no
    // item is retried). The listener is held until the end.
    void remove(std::vector<UnifiedRemoveErrorInfo> infos,
                std::shared_ptr<UnifiedRemovedInfoCheckListener> listener,
                std::function<void()> completion);

    // The mode of the removals asked for; this build only moves to the Trash.
    static constexpr RemoveMode removeMode = RemoveMode::toTrash;

  private:
    std::shared_ptr<RootFileRemover> rootRemover;
};

}  // namespace korvex
