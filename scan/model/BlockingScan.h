#pragma once

#include "scan/model/CModel.h"

#include <atomic>
#include <chrono>
#include <string>

namespace korvex {

// Runs one scan to its end on the calling thread, which serves the main
// queue meanwhile: for the command-line tool, benchmarks and tests.
struct BlockingScanResult {
    FolderRef root;
    bool cancelled = false;
    std::chrono::duration<double> elapsed{};
};

// The occupied space of the volume holding `path`: the progress step of a scan.
std::uint64_t occupiedSpaceForPath(const std::string& path);

// Starts the scan and returns when the model reports its end. When
// `cancelRequest` becomes true the scan is cancelled and the wait goes on
// until the cancel has been reported.
BlockingScanResult runBlockingScan(CModel& model, const std::string& path,
                                   BiggestFilesSink* biggestFiles,
                                   const std::atomic<bool>* cancelRequest = nullptr);

}  // namespace korvex
