// Opening a saved scan against scanning the tree it describes: scans the
// tree, saves it, then times opening the file and scanning again, each the
// median of a few warm-cache runs. Prints the ratio of the two and what the
// file takes per entry.
//
//   korvex-bench-saved TREE [runs]
//
// bench/saved/run.sh generates a 1,000,000-entry tree and runs this on it.

#include "scan/model/BlockingScan.h"
#include "scan/saved/SavedScanWriter.h"
#include "scan/saved/ScanFile.h"
#include "support/ProcessFigures.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

using namespace korvex;
using bench::secondsSince;

namespace {

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: korvex-bench-saved TREE [runs]\n");
        return 2;
    }
    const std::string tree = std::filesystem::canonical(argv[1]).string();
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    const std::string file = (std::filesystem::temp_directory_path() /
                              ("korvex-bench-saved-" + std::to_string(::getpid()) + ".korvexscan"))
                                 .string();

    CModel model;
    model.enumerateVolumes();
    std::vector<double> scans;
    std::int64_t entries = 0;
    double identitySeconds = 0;
    double writeSeconds = 0;
    for (int run = 0; run < runs; ++run) {
        BlockingScanResult result = runBlockingScan(model, tree, nullptr);
        scans.push_back(result.elapsed.count());
        entries = model.lastEntriesRead();
        if (run == 0) {
            auto start = std::chrono::steady_clock::now();
            SavedScan scan = savedScanOf(result.root, entries, model.lastDeniedFolders(),
                                         result.elapsed.count(), result.cancelled);
            identitySeconds = secondsSince(start);
            start = std::chrono::steady_clock::now();
            if (auto error = writeSavedScan(scan, file)) {
                std::fprintf(stderr, "korvex-bench-saved: %s\n", error->c_str());
                return 1;
            }
            writeSeconds = secondsSince(start);
        }
    }
    std::vector<double> opens;
    for (int run = 0; run < runs; ++run) {
        const auto start = std::chrono::steady_clock::now();
        SavedScanResult opened = readScanFile(file);
        opens.push_back(secondsSince(start));
        if (!opened.scan) {
            std::fprintf(stderr, "korvex-bench-saved: %s\n", opened.error.c_str());
            return 1;
        }
    }
    const auto bytes = std::filesystem::file_size(file);
    std::filesystem::remove(file);

    const double scan = median(scans);
    const double open = median(opens);
    std::printf("tree: %s, %lld entries, %d runs, median values\n", tree.c_str(),
                static_cast<long long>(entries), runs);
    std::printf("scan %.3f s, open %.3f s, ratio open/scan %.3f (goal <= 0.3)\n", scan, open,
                open / scan);
    std::printf("save: identities read %.3f s, file written %.3f s\n", identitySeconds,
                writeSeconds);
    std::printf(
        "file %llu bytes, %.2f bytes per entry (goal <= 12)\n",
        static_cast<unsigned long long>(bytes),
        static_cast<double>(bytes) / static_cast<double>(std::max<std::int64_t>(entries, 1)));
    return 0;
}
