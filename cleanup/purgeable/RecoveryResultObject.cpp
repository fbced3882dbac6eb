#include "cleanup/purgeable/RecoveryResultObject.h"

#include "platform/dispatch/MainQueue.h"

#include <algorithm>

namespace korvex {

void RecoveryResultObject::addTask(SpecialSystemItem& node, std::int64_t targetSize,
                                   bool propagate) {
    updateTasks.push_back(
        {&node, FolderRef(node.getParent()), node.gettotalsize(), targetSize, propagate});
}

void RecoveryResultObject::updateSizeWith(double fraction) {
    fraction = std::clamp(fraction, 0.0, 1.0);
    for (UpdateTask& task : updateTasks) {
        auto size = static_cast<std::int64_t>(
            static_cast<double>(task.startSize) -
            static_cast<double>(task.startSize - task.targetSize) * fraction);
        std::int64_t change = size - task.node->gettotalsize();
        task.node->setSize(size);
        if (!task.propagate || task.parent == nullptr || change == 0) {
            continue;
        }
        if (change < 0) {
            task.parent->decreaseTotalSize(-change);
        } else {
            task.parent->increaseTotalSize(change);
        }
    }
}

void RecoveryResultObject::play(std::shared_ptr<RecoveryResultObject> result, int steps,
                                std::chrono::milliseconds interval) {
    steps = std::max(steps, 1);
    for (int step = 1; step <= steps; ++step) {
        platform::MainQueue::shared().after(interval * step, [result, step, steps] {
            result->updateSizeWith(static_cast<double>(step) / steps);
            if (step == steps && result->completion) {
                result->completion();
            }
        });
    }
}

}  // namespace korvex
