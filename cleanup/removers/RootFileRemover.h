#pragma once

#include "cleanup/removers/ElevatedRemovalContext.h"
#include "cleanup/removers/ElevatedRemover.h"

#include <deque>
#include <functional>
#include <memory>

namespace korvex {

// Runs the removers of every request one at a time, so that the user meets
// one password prompt after another rather than several at once. What a
// remover tells is passed on to the listener of its request at once; the
// request's completion is called when its last remover has finished. Lives
// on the main thread.
class RootFileRemover : public ElevatedRemoverListener,
                        public std::enable_shared_from_this<RootFileRemover> {
  public:
    explicit RootFileRemover(ElevatedRemovalContext context) : mContext(std::move(context)) {}

    void remove(RootFileRemoveItems toTrash, RootFileRemoveItems permanently,
                std::shared_ptr<ElevatedRemoverListener> listener,
                std::function<void()> completion);

    void onRemover(ElevatedRemover& remover, const RootFileRemoveItems& removed) override;
    void onRemoverFinished(ElevatedRemover& remover) override;
    void onUserWasnotAllowedExecuteRemover(ElevatedRemover& remover) override;

  private:
    // One remove() call: told of its removers' news, completed after its last.
    struct Request {
        std::shared_ptr<ElevatedRemoverListener> listener;
        std::function<void()> completion;
        std::size_t unfinished = 0;
    };
    struct Task {
        std::shared_ptr<ElevatedRemover> remover;
        std::shared_ptr<Request> request;
    };

    void addTask(std::shared_ptr<ElevatedRemover> remover, const std::shared_ptr<Request>& request);
    void startNextTask();
    const Task* taskOf(const ElevatedRemover& remover) const;

    ElevatedRemovalContext mContext;
    // In the order they were asked for; the running one is first.
    std::deque<Task> tasks;
};

}  // namespace korvex
