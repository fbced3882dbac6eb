#include "cleanup/removers/ElevatedRemover.h"

#include <set>

namespace korvex {

namespace {

bool promptWasRefused(const ElevatedFailure& failure) {
    return failure.code == ElevatedPromptDismissed || failure.code == ElevatedNotAuthorized ||
           failure.code == ElevatedUnavailable;
}

}  // namespace

ElevatedRemover::ElevatedRemover(RootFileRemoveItems sourceItems, ElevatedRemovalContext context)
    : mSourceItems(std::move(sourceItems)), mContext(std::move(context)) {}

void ElevatedRemover::start() {
    if (mIsUsed) {
        return;
    }
    mIsUsed = true;
    std::vector<elevated::TargetItem> items;
    // The same path twice would only be refused the second time.
    std::set<std::string> paths;
    for (const RootFileRemoveItemRef& item : mSourceItems) {
        auto target = ElevatedRemovalTarget::forItem(item);
        if (!target) {
            mRemoveErrors.push_back(item);
        } else if (paths.insert(target->path()).second) {
            items.push_back(target->target());
            mTargets.push_back(std::move(*target));
        }
    }
    if (items.empty() || !mContext.helper) {
        finish();
        return;
    }
    send(*mContext.helper, std::move(items),
         [self = shared_from_this()](const ElevatedReply& reply) { self->requestEnded(reply); });
}

void ElevatedRemover::requestEnded(const ElevatedReply& reply) {
    auto listener = mListener.lock();
    RootFileRemoveItems removed;
    if (reply.failure) {
        const OperationError error{kElevatedErrorDomain, reply.failure->code,
                                   reply.failure->description};
        for (const ElevatedRemovalTarget& target : mTargets) {
            target.item()->fileItem()->setState(OperationFailed{error});
        }
        if (listener && promptWasRefused(*reply.failure)) {
            listener->onUserWasnotAllowedExecuteRemover(*this);
        }
    } else {
        for (std::size_t i = 0; i < mTargets.size(); ++i) {
            const elevated::ItemOutcome& outcome = reply.outcomes[i];
            if (outcome.error == 0) {
                removed.push_back(mTargets[i].item());
            } else {
                mTargets[i].item()->fileItem()->setState(
                    OperationFailed{posixError(outcome.error, outcome.message)});
            }
        }
    }
    if (listener && !removed.empty()) {
        listener->onRemover(*this, removed);
    }
    finish();
}

void ElevatedRemover::finish() {
    if (auto listener = mListener.lock()) {
        listener->onRemoverFinished(*this);
    }
}

}  // namespace korvex
