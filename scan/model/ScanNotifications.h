#pragma once

namespace korvex::scanNotifications {

// Posted by the scan model on the default notification center.
// Object: the root's counted total in bytes (std::int64_t).
inline constexpr const char* kUpdateProgress = "DIUpdateProgressNotification";
// Object: the model (CModel*).
inline constexpr const char* kFinishWalkingVolume = "FinishWalkingVolume";
inline constexpr const char* kWalkingVolumeCanceled = "WalkingVolumeCanceled";

}  // namespace korvex::scanNotifications
