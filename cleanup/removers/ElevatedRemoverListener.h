#pragma once

#include "cleanup/removers/RootFileRemoveItem.h"

namespace korvex {

class ElevatedRemover;

// What a remover tells as it goes, on the main thread.
class ElevatedRemoverListener {
  public:
    virtual ~ElevatedRemoverListener() = default;
    // These items are gone from where they were.
    virtual void onRemover(ElevatedRemover& remover, const RootFileRemoveItems& removed) = 0;
    // The remover is done; it tells nothing more.
    virtual void onRemoverFinished(ElevatedRemover& remover) = 0;
    // Administrator rights were not given (the prompt was dismissed or
    // refused, or no prompt can be shown), so nothing was done; the items
    // hold the reason in their state already.
    virtual void onUserWasnotAllowedExecuteRemover(ElevatedRemover& remover) = 0;
};

}  // namespace korvex
