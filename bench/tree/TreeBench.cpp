// Builds a synthetic tree of about 1,000,000 nodes in memory and reports what a
// node costs and how fast the tree sums, sorts and answers path lookups.
//
//   korvex-bench-tree [folders-per-level] [files-per-folder] [--distinct-names]
//
// By default the same few file names recur in every folder, as they do on a
// disk (a name met again is stored once); --distinct-names gives every file a
// name of its own, the costliest case.

#include "support/ProcessFigures.h"
#include "support/SyntheticTree.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using namespace korvex;
using bench::secondsSince;
using bench::statusKiB;

int main(int argc, char** argv) {
    std::vector<std::string> numbers;
    bench::FileNames names = bench::FileNames::Recurring;
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "--distinct-names") {
            names = bench::FileNames::Distinct;
        } else {
            numbers.emplace_back(argv[i]);
        }
    }
    const int fanOut = numbers.size() > 0 ? std::atoi(numbers[0].c_str()) : 316;
    const int filesPerFolder = numbers.size() > 1 ? std::atoi(numbers[1].c_str()) : 9;

    long rssBefore = statusKiB("VmRSS:");
    auto start = std::chrono::steady_clock::now();
    bench::SyntheticTree tree = bench::buildSyntheticTree(fanOut, filesPerFolder, names);
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

    std::printf("nodes                 %zu (%zu folders, %zu files), %s file names\n", nodes,
                tree.folders, tree.files,
                names == bench::FileNames::Distinct ? "distinct" : "recurring");
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
