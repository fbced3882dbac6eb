// Builds a synthetic tree of about 1,000,000 nodes in memory and reports what a
// node costs and how fast the tree sums, sorts and answers path lookups.
//
//   korvex-bench-tree [folders-per-level] [files-per-folder]

#include "support/ProcessFigures.h"
#include "support/SyntheticTree.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

using namespace korvex;
using bench::secondsSince;
using bench::statusKiB;

int main(int argc, char** argv) {
    const int fanOut = argc > 1 ? std::atoi(argv[1]) : 316;
    const int filesPerFolder = argc > 2 ? std::atoi(argv[2]) : 9;

    long rssBefore = statusKiB("VmRSS:");
    auto start = std::chrono::steady_clock::now();
    bench::SyntheticTree tree = bench::buildSyntheticTree(fanOut, filesPerFolder);
    FolderRef root = tree.root;
    const std::vector<std::string>& samplePaths = tree.samplePaths;
    double buildSeconds = secondsSince(start);
    long rssAfter = statusKiB("VmRSS:");
    long peak = statusKiB("VmHWM:");
    std::size_t nodes = tree.nodes();

    start = std::chrono::steady_clock::now();
    std::int64_t total = root->calctotalsize();
    double sumSeconds = secondsSince(start);

    start = std::chrono::steady_clock::now();
    root->sortChildrenBySize(true);
    double sortSeconds = secondsSince(start);

    start = std::chrono::steady_clock::now();
    std::size_t found = 0;
    std::size_t lookups = 0;
    while (secondsSince(start) < 1.0) {
        for (const std::string& path : samplePaths) {
            found += root->getItemByFilePath(path) != nullptr ? 1 : 0;
            ++lookups;
        }
    }
    double lookupSeconds = secondsSince(start);

    std::printf("nodes                 %zu (%zu folders, %zu files)\n", nodes, tree.folders,
                tree.files);
    std::printf("node sizes            file %zu B, folder %zu B (plus name and children array)\n",
                sizeof(FileSystemItem), sizeof(FolderSystemItem));
    std::printf("tree memory per node  %.1f B (RSS growth while building)\n",
                1024.0 * static_cast<double>(rssAfter - rssBefore) / static_cast<double>(nodes));
    std::printf("peak RSS per node     %.1f B (peak RSS %ld KiB)\n",
                1024.0 * static_cast<double>(peak) / static_cast<double>(nodes), peak);
    std::printf("build                 %.3f s\n", buildSeconds);
    std::printf("sum (calctotalsize)   %.3f s  total %lld bytes\n", sumSeconds,
                static_cast<long long>(total));
    std::printf("sort (forced)         %.3f s\n", sortSeconds);
    std::printf("lookups               %.0f per second (%zu of %zu found)\n",
                static_cast<double>(lookups) / lookupSeconds, found, lookups);
    return found == lookups ? 0 : 1;
}
