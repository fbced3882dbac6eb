#include "cleanup/removers/FinderRemover.h"

#include "cleanup/elevated/BashTasksManager.h"

#include <algorithm>

namespace korvex {

namespace {

bool promptWasRefused(const BashTaskResult& result) {
    return result.errors &&
           std::any_of(result.errors->begin(), result.errors->end(), [](const BashTaskError& e) {
               return e.domain == kBashTaskErrorDomain && e.code == BashTaskUserCanceledError;
           });
}

}  // namespace

FinderRemover::FinderRemover(RootFileRemoveItems sourceItems, ElevatedRemovalContext context)
    : mSourceItems(std::move(sourceItems)), mContext(std::move(context)) {}

void FinderRemover::start() {
    if (mIsUsed) {
        return;
    }
    mIsUsed = true;
    std::vector<std::string> paths;
    for (const RootFileRemoveItemRef& item : mSourceItems) {
        if (auto info = FinderRemoveDataInfo::forItem(item)) {
            paths.push_back(info->path());
            mRemoveDataInfos.push_back(std::move(*info));
        } else {
            mRemoveErrors.push_back(item);
        }
    }
    // The same path twice would only be reported twice.
    std::sort(paths.begin(), paths.end());
    paths.erase(std::unique(paths.begin(), paths.end()), paths.end());
    if (paths.empty() || !mContext.tasksManager) {
        finish();
        return;
    }
    // No time limit: the user may take a while over the password prompt.
    mContext.tasksManager->runTask(
        {removalScript(paths), {}, [self = shared_from_this()](const BashTaskResult& result) {
             self->scriptEnded(result);
         }});
}

void FinderRemover::scriptEnded(const BashTaskResult& result) {
    auto listener = mListener.lock();
    if (listener && promptWasRefused(result)) {
        listener->onUserWasnotAllowedExecuteRemover(*this);
    }
    // Whatever the script reported, the file system has the last word: an
    // item is removed when its starting path no longer holds the file that
    // was there when the remover started. The reference tells the file's
    // identity, so an entry made at that path since (by the user, or by an
    // application saving again) is not mistaken for the item and does not
    // keep it failed; this is the question that creation dates can only
    // guess at, and many Linux file systems do not report them anyway. The
    // same test serves both removers: a file moved to the Trash and one
    // deleted have both left their path.
    RootFileRemoveItems removed;
    for (const FinderRemoveDataInfo& info : mRemoveDataInfos) {
        if (info.hasLeftStartingPath()) {
            removed.push_back(info.item());
        }
    }
    if (listener && !removed.empty()) {
        listener->onRemover(*this, removed);
    }
    finish();
}

void FinderRemover::finish() {
    if (auto listener = mListener.lock()) {
        listener->onRemoverFinished(*this);
    }
}

}  // namespace korvex
