#include "platform/dispatch/ProcessActivity.h"

#include <atomic>

namespace korvex::platform {

namespace {
std::atomic<int> gActive{0};
}

ProcessActivity::ProcessActivity(std::string reason) : mReason(std::move(reason)) {
    gActive.fetch_add(1);
}

ProcessActivity::~ProcessActivity() {
    gActive.fetch_sub(1);
}

int ProcessActivity::activeCount() {
    return gActive.load();
}

}  // namespace korvex::platform
