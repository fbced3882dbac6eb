#include "scan/model/BlockingScan.h"

#include "platform/dispatch/MainQueue.h"
#include "platform/dispatch/NotificationCenter.h"
#include "platform/mounts/MountTable.h"
#include "scan/model/ScanNotifications.h"

namespace korvex {

std::uint64_t occupiedSpaceForPath(const std::string& path) {
    std::optional<platform::VolumeFacts> facts = platform::volumeFacts(path);
    return facts ? static_cast<std::uint64_t>(facts->used) : 0;
}

BlockingScanResult runBlockingScan(CModel& model, const std::string& path,
                                   BiggestFilesSink* biggestFiles,
                                   const std::atomic<bool>* cancelRequest) {
    using namespace scanNotifications;
    auto& center = platform::NotificationCenter::defaultCenter();
    auto& queue = platform::MainQueue::shared();
    queue.bindToCurrentThread();

    BlockingScanResult result;
    FolderRef root;
    bool ended = false;
    // Only the end of this scan counts: a scan it replaced may report too.
    auto onEnd = [&](bool cancelled) {
        return [&, cancelled](const std::any&) {
            if (model.reportingRoot() == root) {
                ended = true;
                result.cancelled = cancelled;
            }
        };
    };
    auto finished = center.addObserver(kFinishWalkingVolume, onEnd(false));
    auto cancelled = center.addObserver(kWalkingVolumeCanceled, onEnd(true));

    auto start = std::chrono::steady_clock::now();
    root = model.StartWalkWithPath(path, occupiedSpaceForPath(path), biggestFiles);
    bool cancelSent = false;
    queue.runUntil([&] {
        if (!cancelSent && cancelRequest != nullptr && cancelRequest->load()) {
            cancelSent = true;
            model.StopWalking();
        }
        return ended;
    });
    result.elapsed = std::chrono::steady_clock::now() - start;
    result.root = root;
    return result;
}

}  // namespace korvex
