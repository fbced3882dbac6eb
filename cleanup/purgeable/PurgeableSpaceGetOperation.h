#pragma once

#include "platform/dispatch/SerialQueue.h"
#include "platform/recovery/DiskSpaceRecoveryService.h"
#include "scan/model/PurgeableSpaceMeasure.h"

#include <atomic>

namespace korvex {

// Measures the purgeable space of one volume on a queue of its own.
class PurgeableSpaceGetOperation : public PurgeableSpaceMeasure,
                                   public std::enable_shared_from_this<PurgeableSpaceGetOperation> {
  public:
    static std::shared_ptr<PurgeableSpaceGetOperation> initWithUrl(
        std::string url, const platform::DiskSpaceRecoveryService& service =
                             platform::DiskSpaceRecoveryService::shared());

    // Measures, then runs `completion` (when given) on the operation's queue.
    void performWithCompletion(std::function<void()> completion) override;
    // 0 until the measurement is done.
    std::int64_t purgeableSpaceValue() const override;
    std::vector<std::string> measuredFolders() const override { return mService.cacheFolders(); }
    const std::string& url() const { return mUrl; }

  private:
    PurgeableSpaceGetOperation(std::string url, const platform::DiskSpaceRecoveryService& service);

    std::string mUrl;
    const platform::DiskSpaceRecoveryService& mService;
    std::atomic<std::uint64_t> mPurgeableSpace{0};
    platform::SerialQueue mQueue{"com.halvorn.get.pergeable.space"};
};

// From now on a volume scan measures its purgeable space with the shared
// recovery service and its volume root gets the purgeable node.
void installPurgeableSpaceMeasure();

}  // namespace korvex
