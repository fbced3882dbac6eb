#pragma once

#include <sys/types.h>

#include <string>

namespace korvex {

class BashTasksManager;

// What the removers need from around them: the runner of scripts that need
// administrator rights, and the user whose Trash receives the items (the
// scripts run as root, so they are told).
struct ElevatedRemovalContext {
    BashTasksManager* tasksManager = nullptr;
    std::string homeTrash;
    uid_t uid = 0;

    // The shared runner and this user's home Trash.
    static ElevatedRemovalContext current();
};

}  // namespace korvex
