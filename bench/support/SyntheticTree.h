#pragma once

// A synthetic tree for benchmarks: `fanOut` top folders, each with `fanOut`
// subfolders of `filesPerFolder` files with random sizes (fixed seed).

#include "scan/tree/FolderSystemItem.h"

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

inline SyntheticTree buildSyntheticTree(int fanOut, int filesPerFolder) {
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
            for (int k = 0; k < filesPerFolder; ++k) {
                FileSystemItem::initWithPathSize("file_" + std::to_string(k) + ".dat", sub,
                                                 sizes(random), 0, false, false);
                ++tree.files;
            }
            if ((i * fanOut + j) % 97 == 0) {
                tree.samplePaths.push_back(sub->fullPath() + "/file_0.dat");
            }
        }
    }
    return tree;
}

}  // namespace korvex::bench
