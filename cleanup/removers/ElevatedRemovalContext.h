#pragma once

#include <memory>
#include <string>

namespace korvex {

class ElevatedHelper;

// What the removers need from around them: the administrator helper, and
// the Trash of the user who asked (the helper works as root, so it is told;
// it takes the user from pkexec, never from the request).
struct ElevatedRemovalContext {
    std::shared_ptr<ElevatedHelper> helper;
    std::string homeTrash;

    // The application's one helper and this user's home Trash.
    static ElevatedRemovalContext current();
};

}  // namespace korvex
