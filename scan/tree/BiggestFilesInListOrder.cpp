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

std::size_t countFilesOfSize(const FolderSystemItem& folder, std::int64_t bytes) {
    std::size_t count = 0;
    for (const ItemRef& child : folder.childrenArray()) {
        if (child->isDir() && !child->isPack()) {
            count += countFilesOfSize(static_cast<const FolderSystemItem&>(*child), bytes);
        } else {
            count += child->gettotalsize() == bytes ? 1 : 0;
        }
    }
    return count;
}

// Adds every file below `folder` of exactly `bytes` that the biggest-files
// list would take.
void addFilesOfSize(const FolderSystemItem& folder, std::int64_t bytes, ItemList& probe,
                    ItemList& out) {
    for (const ItemRef& child : folder.childrenArray()) {
        if (child->isDir() && !child->isPack()) {
            addFilesOfSize(static_cast<const FolderSystemItem&>(*child), bytes, probe, out);
        } else if (child->gettotalsize() == bytes) {
            probe.clear();
            if (child->insert2BiggestFilesArray(probe)) {
                out.push_back(child);
            }
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
        if (countFilesOfSize(root, last) > kMostTiesToOrder) {
            sortTreeBySizeInParallel(root);
            files.clear();
            root.fillBiggestFilesArray(files);
            files.resize(keep);
            return files;
        }
        std::erase_if(files, [&](const ItemRef& file) { return file->gettotalsize() <= last; });
        ItemList probe;
        addFilesOfSize(root, last, probe, files);
    }
    std::partial_sort(files.begin(), files.begin() + static_cast<std::ptrdiff_t>(keep), files.end(),
                      listedBefore);
    files.resize(keep);
    return files;
}

}  // namespace korvex
