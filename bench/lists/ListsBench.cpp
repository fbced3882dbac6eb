// Name search over a 1,000,000-node tree and the rows of a folder with
// 100,000 children, each timed over several runs (median reported).

#include "browse/contents/FolderContentStructureImpl.h"
#include "browse/search/NameSearch.h"
#include "support/SyntheticTree.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <random>
#include <vector>

namespace {

using namespace korvex;

double medianMilliseconds(int runs, const std::function<void()>& work) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        auto start = std::chrono::steady_clock::now();
        work();
        times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

FolderRef wideFolder(int children, bool sorted) {
    std::mt19937_64 random(7);
    std::uniform_int_distribution<std::int64_t> sizes(0, 4000000);
    FolderRef folder = FolderSystemItem::initWithPathSizeNoParent("/bench/wide", nullptr, 0, false,
                                                                  0, false, false);
    for (int i = 0; i < children; ++i) {
        FileSystemItem::initWithPathSize("entry_" + std::to_string(i) + ".bin", folder.get(),
                                         sizes(random), 0, i % 50 == 0, false);
    }
    if (sorted) {
        folder->sortChildrenBySize(true);
    }
    folder->setSorted(sorted);
    return folder;
}

}  // namespace

int main() {
    bench::SyntheticTree tree = bench::buildSyntheticTree(100, 99);
    std::size_t hits = 0;
    double search = medianMilliseconds(
        9, [&] { hits = searchItemsByName(*tree.root, "FILE_1", [] { return false; }).size(); });
    std::printf("name search, %zu nodes, \"FILE_1\" (%zu hits): %.1f ms median\n", tree.nodes(),
                hits, search);

    for (bool sorted : {true, false}) {
        FolderRef folder = wideFolder(100000, sorted);
        // A new structure each run, so the row caches start empty.
        double rows = medianMilliseconds(9, [&] {
            FolderContentStructureImpl structure;
            structure.setItem(folder);
        });
        std::printf("folder of 100,000 children (%s), rows built and grouped: %.1f ms median\n",
                    sorted ? "kept in size order by the tree" : "unsorted", rows);
    }
    return 0;
}
