#pragma once

#include "scan/tree/FolderSystemItem.h"
#include "scan/tree/SpecialSystemItem.h"

#include <chrono>
#include <functional>
#include <memory>
#include <vector>

namespace korvex {

// Moves synthetic nodes from one size to another in steps, so that the
// diagram shows the space going away; the ancestors follow each step.
class RecoveryResultObject {
  public:
    struct UpdateTask {
        boost::intrusive_ptr<SpecialSystemItem> node;
        FolderRef parent;  // kept alive with the node; changed when `propagate`
        std::int64_t startSize;
        std::int64_t targetSize;
        bool propagate;
    };

    // A task from the node's current size to `targetSize`.
    void addTask(SpecialSystemItem& node, std::int64_t targetSize, bool propagate);

    // Sets each node to start − (start − target) × fraction (fraction 0…1).
    void updateSizeWith(double fraction);

    // Applies the fractions 1/steps, 2/steps, … 1 on main-queue timers
    // `interval` apart, then runs `completion`.
    static void play(std::shared_ptr<RecoveryResultObject> result, int steps,
                     std::chrono::milliseconds interval);

    std::function<void()> completion;
    std::vector<UpdateTask> updateTasks;
};

}  // namespace korvex
