#include "scan/tree/BiggestFilesInListOrder.h"

#include "scan/tree/FolderSystemItem.h"
#include "scan/tree/ParallelTreeSort.h"

#include <algorithm>

namespace korvex {

namespace {

// Beyond this many files of the last size wanted, putting the whole tree in
// order costs less than ordering them among themselves.
constexpr std::size_t kMostTiesToOrder = 4096;

int depthOf(const FileSystemItem* node) {
    int depth = 0;
    for (; node->getParent() != nullptr; node = node->getParent()) {
        ++depth;
    }
    return depth;
}

// Whether a walk through the folders in list order meets `a` before `b`: the
// list order of their ancestors just below the folder they share decides.
bool walksBefore(const FileSystemItem* a, const FileSystemItem* b) {
    if (a == b) {
        return false;
    }
    int depthA = depthOf(a);
    int depthB = depthOf(b);
    for (; depthA > depthB; --depthA) {
        a = a->getParent();
    }
    for (; depthB > depthA; --depthB) {
        b = b->getParent();
    }
    while (a->getParent() != b->getParent()) {
        a = a->getParent();
        b = b->getParent();
    }
    return a != b && listsBefore(*a, *b);
}

bool listedBefore(const ItemRef& a, const ItemRef& b) {
    const std::int64_t sizeA = a->gettotalsize();
    const std::int64_t sizeB = b->gettotalsize();
    return sizeA != sizeB ? sizeA > sizeB : walksBefore(a.get(), b.get());
}

// Calls `visit` with every file below `folder` of exactly `bytes`.
template <class Visit>
void forEachFileOfSize(const FolderSystemItem& folder, std::int64_t bytes, Visit&& visit) {
    for (const ItemRef& child : folder.childrenArray()) {
        if (child->isDir() && !child->isPack()) {
            forEachFileOfSize(static_cast<const FolderSystemItem&>(*child), bytes, visit);
        } else if (child->gettotalsize() == bytes) {
            visit(child);
        }
    }
}

}  // namespace

ItemList biggestFilesInListOrder(FolderSystemItem& root, std::size_t count) {
    // Largest first; files of one size in whatever order the walk met them.
    ItemList files;
    root.fillBiggestFilesArray(files);
    const std::size_t keep = std::min(count, files.size());
    if (keep == 0) {
        return {};
    }
    const std::int64_t last = files[keep - 1]->gettotalsize();
    // A full list may have left out files of the last size wanted.
    if (files.size() == kBiggestFilesBound && files.back()->gettotalsize() == last) {
        std::size_t ties = 0;
        forEachFileOfSize(root, last, [&](const ItemRef&) { ++ties; });
        if (ties > kMostTiesToOrder) {
            sortTreeBySizeInParallel(root);
            files.clear();
            root.fillBiggestFilesArray(files);
            files.resize(keep);
            return files;
        }
        std::erase_if(files, [&](const ItemRef& file) { return file->gettotalsize() <= last; });
        // Only what the biggest-files list would take.
        ItemList probe;
        forEachFileOfSize(root, last, [&](const ItemRef& file) {
            probe.clear();
            if (file->insert2BiggestFilesArray(probe)) {
                files.push_back(file);
            }
        });
    }
    std::partial_sort(files.begin(), files.begin() + static_cast<std::ptrdiff_t>(keep), files.end(),
                      listedBefore);
    files.resize(keep);
    return files;
}

}  // namespace korvex
