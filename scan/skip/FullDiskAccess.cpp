#include "scan/skip/FullDiskAccess.h"

#include "platform/ProcessPrivileges.h"

#include <mutex>

namespace korvex {

namespace {

class PrivilegeBasedAccess : public FullDiskAccess {
  public:
    bool isFullDiskAccessGranted() const override { return platform::processCanReadEverything(); }
};

std::mutex gMutex;
std::shared_ptr<const FullDiskAccess>& slot() {
    static std::shared_ptr<const FullDiskAccess> provider =
        std::make_shared<PrivilegeBasedAccess>();
    return provider;
}

}  // namespace

const FullDiskAccess& FullDiskAccess::current() {
    std::lock_guard guard(gMutex);
    return *slot();
}

void FullDiskAccess::setCurrent(std::shared_ptr<const FullDiskAccess> provider) {
    std::lock_guard guard(gMutex);
    slot() = provider != nullptr ? std::move(provider) : std::make_shared<PrivilegeBasedAccess>();
}

}  // namespace korvex
