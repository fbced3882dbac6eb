#include "cleanup/elevated/BashTasksManager.h"

namespace korvex {

BashTasksManager& BashTasksManager::sharedManager() {
    static BashTasksManager manager;
    return manager;
}

BashTasksManager::BashTasksManager() : mSudoLauncher(std::make_shared<BashSudoLauncher>()) {}

BashTasksManager::~BashTasksManager() {
    terminate();
}

std::shared_ptr<BashTask> BashTasksManager::runTask(BashTaskFactory factory) {
    auto holder = std::make_shared<std::weak_ptr<BashTask>>();
    auto task = std::make_shared<BashTask>(
        std::move(factory.bashScript),
        [this, holder, completion = std::move(factory.completion)](const BashTaskResult& result) {
            if (auto finished = holder->lock()) {
                std::lock_guard guard(lock);
                tasks.erase(finished);
            }
            if (completion) {
                completion(result);
            }
        },
        factory.timeout, factory.forceAppleScriptStart, mSudoLauncher);
    *holder = task;
    task->setListener(std::move(factory.delegate));
    {
        std::lock_guard guard(lock);
        tasks.insert(task);
    }
    task->start();
    return task;
}

void BashTasksManager::terminate() {
    mSudoLauncher->terminate();
}

std::size_t BashTasksManager::numberOfRunningTasks() const {
    std::lock_guard guard(lock);
    return tasks.size();
}

}  // namespace korvex
