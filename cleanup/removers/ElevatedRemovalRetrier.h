#pragma once

#include "cleanup/operations/RefusedRemovalRetrier.h"
#include "cleanup/removers/UnifiedFileRemover.h"

namespace korvex {

// Hands the items the trash refused to the elevated removal.
class ElevatedRemovalRetrier : public RefusedRemovalRetrier {
  public:
    explicit ElevatedRemovalRetrier(UnifiedFileRemover& remover = UnifiedFileRemover::shared())
        : mRemover(remover) {}
    void retry(const OperationItems& failed,
               std::function<void(const OperationItemRef& removed)> didRemove,
               std::function<void()> completion) override;

  private:
    UnifiedFileRemover& mRemover;
};

}  // namespace korvex
