#pragma once

#include "cleanup/elevated/ElevatedHelper.h"
#include "cleanup/removers/ElevatedRemovalContext.h"
#include "cleanup/removers/ElevatedRemovalTarget.h"
#include "cleanup/removers/ElevatedRemoverListener.h"

#include <memory>
#include <vector>

namespace korvex {

// Removes its items once through the administrator helper, then tells which
// of them are gone; the others hold the reason in their state. Lives on the
// main thread.
class ElevatedRemover : public std::enable_shared_from_this<ElevatedRemover> {
  public:
    ElevatedRemover(RootFileRemoveItems sourceItems, ElevatedRemovalContext context);
    virtual ~ElevatedRemover() = default;
    ElevatedRemover(const ElevatedRemover&) = delete;
    ElevatedRemover& operator=(const ElevatedRemover&) = delete;

    void setListener(std::weak_ptr<ElevatedRemoverListener> listener) {
        mListener = std::move(listener);
    }
    // Runs once; later calls do nothing.
    void start();

    bool isUsed() const { return mIsUsed; }
    const RootFileRemoveItems& sourceItems() const { return mSourceItems; }
    const std::vector<ElevatedRemovalTarget>& removalTargets() const { return mTargets; }
    // The items that could not be identified, so were left alone.
    const RootFileRemoveItems& removeErrors() const { return mRemoveErrors; }

  protected:
    // Asks the helper to remove exactly these items.
    virtual void send(ElevatedHelper& helper, std::vector<elevated::TargetItem> items,
                      ElevatedHelper::Completion completion) const = 0;
    const ElevatedRemovalContext& context() const { return mContext; }

  private:
    void requestEnded(const ElevatedReply& reply);
    void finish();

    bool mIsUsed = false;
    std::weak_ptr<ElevatedRemoverListener> mListener;
    RootFileRemoveItems mSourceItems;
    ElevatedRemovalContext mContext;
    std::vector<ElevatedRemovalTarget> mTargets;
    RootFileRemoveItems mRemoveErrors;
};

}  // namespace korvex
