#pragma once

// Names and keys of the notifications the applications of the family send
// each other to launch one another and to ask for scans.
namespace korvex::launch {

// User info {"pathToScan": string}: scan that path.
inline constexpr const char* kScanPathCommandNotification =
    "ScanPathCommandFromExternalAppNotificationName";
// User info {"selectSegment": string}: switch the main window's segment.
inline constexpr const char* kSegmentSelectionCommandNotification =
    "SegmentSelectionCommandFromExternalAppNotificationName";
// Object: the launched application's identifier; it is ready.
inline constexpr const char* kLaunchedAppDidFinishLaunchingNotification =
    "com.halvorn.LaunchedAppDidFinishLaunching";
// Object: the launched application's identifier; the launcher's answer.
inline constexpr const char* kLaunchedAppAskToStartScanningNotification =
    "com.halvorn.LaunchedAppAskToStartScanning";

inline constexpr const char* kPathToScanKey = "pathToScan";
inline constexpr const char* kSelectSegmentKey = "selectSegment";
inline constexpr const char* kHomeKey = "home";
inline constexpr const char* kSoftRescanKey = "softRescan";

// This application's place in the family.
inline constexpr int kKorvexAppType = 3;

}  // namespace korvex::launch
