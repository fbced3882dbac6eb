#include "cleanup/purgeable/PurgeableSpaceGetOperation.h"

#include <limits>

namespace korvex {

PurgeableSpaceGetOperation::PurgeableSpaceGetOperation(
    std::string url, const platform::DiskSpaceRecoveryService& service)
    : mUrl(std::move(url)), mService(service) {}

std::shared_ptr<PurgeableSpaceGetOperation> PurgeableSpaceGetOperation::initWithUrl(
    std::string url, const platform::DiskSpaceRecoveryService& service) {
    return std::shared_ptr<PurgeableSpaceGetOperation>(
        new PurgeableSpaceGetOperation(std::move(url), service));
}

void PurgeableSpaceGetOperation::performWithCompletion(std::function<void()> completion) {
    mQueue.async([self = shared_from_this(), completion = std::move(completion)] {
        self->mPurgeableSpace = self->mService.recoveryEstimate(self->mUrl);
        if (completion) {
            completion();
        }
    });
}

std::int64_t PurgeableSpaceGetOperation::purgeableSpaceValue() const {
    constexpr std::uint64_t kMax = std::numeric_limits<std::int64_t>::max();
    return static_cast<std::int64_t>(std::min(mPurgeableSpace.load(), kMax));
}

void installPurgeableSpaceMeasure() {
    PurgeableSpaceMeasure::setFactory(
        [](const std::string& path) { return PurgeableSpaceGetOperation::initWithUrl(path); });
}

}  // namespace korvex
