#pragma once

#include "cleanup/removers/RootFileRemoveItem.h"

namespace korvex {

class FinderRemover;

// What a remover tells as it goes, on the main thread.
class FinderRemoverListener {
  public:
    virtual ~FinderRemoverListener() = default;
    // These items are gone from where they were.
    virtual void onRemover(FinderRemover& remover, const RootFileRemoveItems& removed) = 0;
    // The remover is done; it tells nothing more.
    virtual void onRemoverFinished(FinderRemover& remover) = 0;
    // The administrator password was not given, so the script never ran.
    virtual void onUserWasnotAllowedExecuteRemover(FinderRemover& remover) = 0;
};

}  // namespace korvex
