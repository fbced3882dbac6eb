#include "cleanup/operations/RemovePerformer.h"

#include "platform/fs/EntryExists.h"

#include <algorithm>
#include <thread>

namespace korvex {

RemovePerformer::RemovePerformer(std::optional<std::string> trashFolder, FileOperations files,
                                 std::shared_ptr<RefusedRemovalRetrier> retrier)
    : BaseOperationPerformer(std::move(trashFolder)),
      mFiles(std::move(files)),
      mRetrier(std::move(retrier)) {}

void RemovePerformer::perform(const OperationItems& items,
                              std::weak_ptr<OperationPerformerListener> listener) {
    mItems = items;
    generalProgressTask =
        std::make_shared<OperationCountProgressTask>(static_cast<long>(items.size()), 1.0);
    begin(std::move(listener), {generalProgressTask});
    if (items.empty()) {
        finalBlock();
        return;
    }
    // Each worker holds the performer, so it lives until the last one ends;
    // the last worker to end runs the final block.
    const unsigned workers =
        static_cast<unsigned>(std::min<std::size_t>(kConcurrentRemovals, items.size()));
    mRunningWorkers = workers;
    auto self = std::static_pointer_cast<RemovePerformer>(shared_from_this());
    for (unsigned i = 0; i < workers; ++i)
        std::thread([self] { self->workerLoop(); }).detach();
}

void RemovePerformer::workerLoop() {
    for (std::size_t index = mNextItem++; index < mItems.size(); index = mNextItem++)
        removeItem(mItems[index]);
    if (--mRunningWorkers == 0)
        finalBlock();
}

void RemovePerformer::removeItem(const OperationItemRef& item) {
    if (isSuccess(item->state()))
        return;
    if (!platform::somethingExistsAt(item->path())) {
        item->setState(OperationSucceeded{});
        addRemovedPath(item->path());
    } else if (auto error = mFiles.trashItem(item->path())) {
        item->setState(OperationFailed{*error});
        std::lock_guard guard(sync);
        failed.push_back(item);
    } else {
        item->setState(OperationSucceeded{});
        addRemovedPath(item->path());
    }
    generalProgressTask->increment();
}

void RemovePerformer::addRemovedPath(const std::string& path) {
    std::lock_guard guard(sync);
    removedPaths.push_back(path);
}

void RemovePerformer::finalBlock() {
    OperationItems refused;
    {
        std::lock_guard guard(sync);
        for (const auto& item : failed)
            if (isFailed(item->state()))
                refused.push_back(item);
    }
    if (refused.empty() || !mRetrier) {
        finish();
        return;
    }
    auto self = std::static_pointer_cast<RemovePerformer>(shared_from_this());
    mRetrier->retry(
        refused,
        [self](const OperationItemRef& removed) {
            removed->setState(OperationSucceeded{});
            self->addRemovedPath(removed->path());
        },
        [self] { self->finish(); });
}

void RemovePerformer::finish() {
    std::vector<std::string> removed;
    {
        std::lock_guard guard(sync);
        removed = removedPaths;
    }
    reportCompletion(mItems, removed, succeededPaths(mItems));
}

}  // namespace korvex
