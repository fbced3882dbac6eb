#include "cleanup/removers/ElevatedRemovalRetrier.h"

#include "cleanup/removers/UnifiedRemovedInfoCheckListener.h"

namespace korvex {

namespace {

// Passes the removed items on; the failed ones already hold their error.
class RemovedItemsForwarder : public UnifiedRemovedInfoCheckListener {
  public:
    explicit RemovedItemsForwarder(std::function<void(const OperationItemRef&)> didRemove)
        : mDidRemove(std::move(didRemove)) {}
    void onInfoRemoved(const UnifiedRemoveErrorInfo& info) override { mDidRemove(info.item()); }
    void onInfoStillFailed(const UnifiedRemoveErrorInfo&, const OperationError&) override {}
    void onInfoCheckFinished() override {}

  private:
    std::function<void(const OperationItemRef&)> mDidRemove;
};

}  // namespace

void ElevatedRemovalRetrier::retry(const OperationItems& failed,
                                   std::function<void(const OperationItemRef& removed)> didRemove,
                                   std::function<void()> completion) {
    std::vector<UnifiedRemoveErrorInfo> infos;
    for (const auto& item : failed)
        if (auto info = UnifiedRemoveErrorInfo::forItem(item))
            infos.push_back(std::move(*info));
    mRemover.remove(std::move(infos), std::make_shared<RemovedItemsForwarder>(std::move(didRemove)),
                    std::move(completion));
}

}  // namespace korvex
