#include "cleanup/removers/UnifiedFileRemover.h"

#include "platform/dispatch/MainQueue.h"

#include <set>

namespace korvex {

namespace {

// Follows one request through the root remover and tells the listener of
// each item once. Lives on the main thread.
class UnifiedRemovalCheck : public ElevatedRemoverListener {
  public:
    explicit UnifiedRemovalCheck(std::shared_ptr<UnifiedRemovedInfoCheckListener> listener)
        : mListener(std::move(listener)) {}

    void onRemover(ElevatedRemover& /*remover*/, const RootFileRemoveItems& removed) override {
        for (const RootFileRemoveItemRef& item : removed) {
            if (mRemoved.insert(item.get()).second && mListener) {
                mListener->onInfoRemoved(item->errorInfo());
            }
        }
    }

    // The remover gave each item the reason; they are told of as still
    // failed when it finishes.
    void onUserWasnotAllowedExecuteRemover(ElevatedRemover& /*remover*/) override {}

    void onRemoverFinished(ElevatedRemover& remover) override {
        for (const RootFileRemoveItemRef& item : remover.sourceItems()) {
            if (!mRemoved.count(item.get())) {
                stillFailed(item->errorInfo());
            }
        }
    }

    void stillFailed(const UnifiedRemoveErrorInfo& info) const {
        if (!mListener) {
            return;
        }
        const OperationResult state = info.item()->state();
        const OperationError* error = failureOf(state);
        mListener->onInfoStillFailed(info, error ? *error : info.error());
    }

    void finished() const {
        if (mListener) {
            mListener->onInfoCheckFinished();
        }
    }

  private:
    std::shared_ptr<UnifiedRemovedInfoCheckListener> mListener;
    std::set<const RootFileRemoveItem*> mRemoved;
};

}  // namespace

UnifiedFileRemover& UnifiedFileRemover::shared() {
    static UnifiedFileRemover remover(ElevatedRemovalContext::current());
    return remover;
}

UnifiedFileRemover::UnifiedFileRemover(ElevatedRemovalContext context)
    : rootRemover(std::make_shared<RootFileRemover>(std::move(context))) {}

void UnifiedFileRemover::remove(std::vector<UnifiedRemoveErrorInfo> infos,
                                std::shared_ptr<UnifiedRemovedInfoCheckListener> listener,
                                std::function<void()> completion) {
    auto check = std::make_shared<UnifiedRemovalCheck>(std::move(listener));
    RootFileRemoveItems toTrash;
    RootFileRemoveItems permanently;
    for (UnifiedRemoveErrorInfo& info : infos) {
        auto item = std::make_shared<const RootFileRemoveItem>(std::move(info));
        // Retried only where administrator rights can overcome the refusal;
        // the others keep the Trash's error.
        if (!item->isCanBeRemovedPermanently(false)) {
            check->stillFailed(item->errorInfo());
        } else if (removeMode == RemoveMode::permanently) {
            permanently.push_back(std::move(item));
        } else {
            toTrash.push_back(std::move(item));
        }
    }
    auto done = [check, completion = std::move(completion)] {
        check->finished();
        if (completion) {
            completion();
        }
    };
    if (toTrash.empty() && permanently.empty()) {
        done();
        return;
    }
    platform::MainQueue::shared().async([root = rootRemover, check, toTrash = std::move(toTrash),
                                         permanently = std::move(permanently),
                                         done = std::move(done)]() mutable {
        root->remove(std::move(toTrash), std::move(permanently), check, std::move(done));
    });
}

}  // namespace korvex
