#pragma once

#include <memory>

namespace korvex {

// Whether the user granted access to everything; the access manager answers
// once installed, until then the process's own privileges decide.
class FullDiskAccess {
  public:
    virtual ~FullDiskAccess() = default;
    virtual bool isFullDiskAccessGranted() const = 0;

    static const FullDiskAccess& current();
    // Installs the process-wide answerer; nullptr restores the default.
    static void setCurrent(std::shared_ptr<const FullDiskAccess> provider);
};

}  // namespace korvex
