#pragma once

// Synthetic trees for benchmarks, from fixed seeds: an even one of `fanOut`
// top folders, each with `fanOut` subfolders of `filesPerFolder` files, and a
// deep, lopsided one shaped like a real disk.

#include "scan/tree/FolderSystemItem.h"

#include <algorithm>
#include <deque>
#include <random>
#include <string>
#include <vector>

namespace korvex::bench {

struct SyntheticTree {
    FolderRef root;
    std::size_t folders = 1;
    std::size_t files = 0;
    std::vector<std::string> samplePaths;  // one file in every 97th subfolder

    std::size_t nodes() const { return folders + files; }
};

// Names of the even tree's files: the same few in every folder, or with
// `Distinct`, a name of its own for every file, as long as a file name on a
// real system is on average (about 18 bytes).
enum class FileNames { Recurring, Distinct };

inline std::string fileName(FileNames names, int indexInFolder, std::size_t indexInTree) {
    return names == FileNames::Distinct ? "photo_" + std::to_string(indexInTree) + ".jpeg"
                                        : "file_" + std::to_string(indexInFolder) + ".dat";
}

inline SyntheticTree buildSyntheticTree(int fanOut, int filesPerFolder,
                                        FileNames names = FileNames::Recurring) {
    std::mt19937_64 random(42);
    std::uniform_int_distribution<std::int64_t> sizes(0, 1 << 24);
    SyntheticTree tree;
    tree.root = FolderSystemItem::initWithPathSizeNoParent("/bench/root", nullptr, 0, false, 0,
                                                           false, false);
    for (int i = 0; i < fanOut; ++i) {
        FolderSystemItem* top =
            FolderSystemItem::initWithPathSize("folder_" + std::to_string(i), tree.root.get(), 0,
                                               false, 0, false, false)
                .get();
        ++tree.folders;
        for (int j = 0; j < fanOut; ++j) {
            FolderSystemItem* sub = FolderSystemItem::initWithPathSize(
                                        "sub_" + std::to_string(j), top, 0, false, 0, false, false)
                                        .get();
            ++tree.folders;
            const std::string firstFile = fileName(names, 0, tree.files);
            for (int k = 0; k < filesPerFolder; ++k) {
                FileSystemItem::initWithPathSize(fileName(names, k, tree.files), sub, sizes(random),
                                                 0, false, false);
                ++tree.files;
            }
            // As the scan does once a folder is read to the end.
            sub->childrenComplete();
            if ((i * fanOut + j) % 97 == 0 && filesPerFolder > 0) {
                tree.samplePaths.push_back(sub->fullPath() + "/" + firstFile);
            }
        }
        top->childrenComplete();
    }
    tree.root->childrenComplete();
    return tree;
}

// Folders of 2 to ~60 entries, a third of them folders, nested about eight
// deep, with file sizes spread over many orders of magnitude: most sectors are
// folded into small-items sectors, a few big ones reach every ring.
inline SyntheticTree buildLopsidedTree(std::size_t nodes) {
    std::mt19937_64 random(7);
    std::lognormal_distribution<double> fileSizes(9.0, 2.8);
    std::geometric_distribution<int> extraEntries(0.08);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    constexpr double kLargestFile = 64.0 * (1LL << 30);
    constexpr int kDeepest = 14;
    SyntheticTree tree;
    tree.root = FolderSystemItem::initWithPathSizeNoParent("/bench/root", nullptr, 0, false, 0,
                                                           false, false);
    std::deque<std::pair<FolderSystemItem*, int>> pending{{tree.root.get(), 0}};
    while (!pending.empty() && tree.nodes() < nodes) {
        auto [folder, depth] = pending.front();
        pending.pop_front();
        const int entries = 2 + extraEntries(random);
        for (int k = 0; k < entries && tree.nodes() < nodes; ++k) {
            if (depth < kDeepest && unit(random) < 0.33) {
                pending.emplace_back(
                    FolderSystemItem::initWithPathSize("dir_" + std::to_string(k), folder, 0, false,
                                                       0, false, false)
                        .get(),
                    depth + 1);
                ++tree.folders;
            } else {
                const auto size =
                    static_cast<std::int64_t>(std::min(fileSizes(random), kLargestFile));
                FileSystemItem::initWithPathSize("file_" + std::to_string(k) + ".dat", folder, size,
                                                 0, false, false);
                ++tree.files;
            }
        }
    }
    return tree;
}

}  // namespace korvex::bench
