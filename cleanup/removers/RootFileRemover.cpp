#include "cleanup/removers/RootFileRemover.h"

#include "cleanup/removers/ElevatedPermanentRemover.h"
#include "cleanup/removers/ElevatedTrashRemover.h"

namespace korvex {

void RootFileRemover::remove(RootFileRemoveItems toTrash, RootFileRemoveItems permanently,
                             std::shared_ptr<ElevatedRemoverListener> listener,
                             std::function<void()> completion) {
    auto request = std::make_shared<Request>(Request{std::move(listener), std::move(completion)});
    if (!toTrash.empty()) {
        addTask(std::make_shared<ElevatedTrashRemover>(std::move(toTrash), mContext), request);
    }
    if (!permanently.empty()) {
        addTask(std::make_shared<ElevatedPermanentRemover>(std::move(permanently), mContext),
                request);
    }
    if (request->unfinished == 0) {
        if (request->completion) {
            request->completion();
        }
        return;
    }
    startNextTask();
}

void RootFileRemover::addTask(std::shared_ptr<ElevatedRemover> remover,
                              const std::shared_ptr<Request>& request) {
    remover->setListener(weak_from_this());
    ++request->unfinished;
    tasks.push_back({std::move(remover), request});
}

void RootFileRemover::startNextTask() {
    if (tasks.empty() || tasks.front().remover->isUsed()) {
        return;
    }
    // Held here: a remover with nothing to do finishes inside start().
    auto remover = tasks.front().remover;
    remover->start();
}

const RootFileRemover::Task* RootFileRemover::taskOf(const ElevatedRemover& remover) const {
    for (const Task& task : tasks) {
        if (task.remover.get() == &remover) {
            return &task;
        }
    }
    return nullptr;
}

void RootFileRemover::onRemover(ElevatedRemover& remover, const RootFileRemoveItems& removed) {
    const Task* task = taskOf(remover);
    if (task && task->request->listener) {
        task->request->listener->onRemover(remover, removed);
    }
}

void RootFileRemover::onUserWasnotAllowedExecuteRemover(ElevatedRemover& remover) {
    const Task* task = taskOf(remover);
    if (task && task->request->listener) {
        task->request->listener->onUserWasnotAllowedExecuteRemover(remover);
    }
}

void RootFileRemover::onRemoverFinished(ElevatedRemover& remover) {
    const Task* found = taskOf(remover);
    if (!found) {
        return;
    }
    const Task task = *found;
    std::erase_if(tasks, [&remover](const Task& t) { return t.remover.get() == &remover; });
    if (task.request->listener) {
        task.request->listener->onRemoverFinished(remover);
    }
    if (--task.request->unfinished == 0 && task.request->completion) {
        task.request->completion();
    }
    startNextTask();
}

}  // namespace korvex
