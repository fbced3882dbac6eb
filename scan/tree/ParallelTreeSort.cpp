#include "scan/tree/ParallelTreeSort.h"

#include "scan/tree/FolderSystemItem.h"

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

namespace korvex {

namespace {

// Below this many folders, starting threads costs more than it saves.
constexpr std::size_t kFoldersForThreads = 4096;
// Folders a thread takes at a time: few enough to share the work evenly,
// enough that the shared counter is rarely touched.
constexpr std::size_t kFoldersPerTake = 256;
constexpr unsigned kMostThreads = 4;

// Every folder below `root` (itself included) that has children to order.
std::vector<FolderSystemItem*> foldersToSort(FolderSystemItem& root) {
    std::vector<FolderSystemItem*> folders;
    std::vector<FolderSystemItem*> pending{&root};
    while (!pending.empty()) {
        FolderSystemItem* folder = pending.back();
        pending.pop_back();
        if (folder->childrenArray().empty()) {
            continue;
        }
        folders.push_back(folder);
        for (const ItemRef& child : folder->childrenArray()) {
            if (child->isDir() && !child->isPack()) {
                pending.push_back(static_cast<FolderSystemItem*>(child.get()));
            }
        }
    }
    return folders;
}

}  // namespace

void sortTreeBySizeInParallel(FolderSystemItem& root) {
    const std::vector<FolderSystemItem*> folders = foldersToSort(root);
    std::atomic<std::size_t> next{0};
    auto sortTaken = [&] {
        for (std::size_t first = next.fetch_add(kFoldersPerTake, std::memory_order_relaxed);
             first < folders.size();
             first = next.fetch_add(kFoldersPerTake, std::memory_order_relaxed)) {
            const std::size_t last = std::min(folders.size(), first + kFoldersPerTake);
            for (std::size_t i = first; i < last; ++i) {
                folders[i]->sortOwnChildrenBySize();
            }
        }
    };
    const unsigned cores = std::max(1U, std::thread::hardware_concurrency());
    const unsigned helpers =
        folders.size() < kFoldersForThreads ? 0 : std::min(cores, kMostThreads) - 1;
    std::vector<std::jthread> threads;
    threads.reserve(helpers);
    for (unsigned i = 0; i < helpers; ++i) {
        threads.emplace_back(sortTaken);
    }
    sortTaken();
}

}  // namespace korvex
