#include "scan/tree/FolderSystemItem.h"
#include "scan/tree/NumericOrder.h"
#include "scan/tree/ParallelTreeSort.h"
#include "scan/tree/SpecialSystemItem.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

using namespace korvex;

namespace {

// A tree wide enough that the sort spreads over threads: folders of random
// files, many of one size so that names decide, and here and there the
// space that could not be read, which goes last whatever its size.
FolderRef randomTree(int folders) {
    std::mt19937 random(11);
    FolderRef root =
        FolderSystemItem::initWithPathSizeNoParent("/sorted", nullptr, 0, false, 0, false, false);
    std::vector<FolderSystemItem*> all{root.get()};
    for (int i = 0; i < folders; ++i) {
        FolderSystemItem* parent = all[random() % all.size()];
        FolderRef folder = FolderSystemItem::initWithPathSize("d" + std::to_string(random() % 50),
                                                              parent, 0, false, 0, false, false);
        if (random() % 40 == 0) {
            SpecialSystemItem::initWithType(SpecialSystemItem::Inaccessible, folder.get(),
                                            "Inaccessible", std::int64_t(random() % 9) << 12);
        }
        for (int k = random() % 6; k > 0; --k) {
            const std::int64_t size = random() % 2 == 0 ? 4096 : std::int64_t(random() % 9) << 12;
            FileSystemItem::initWithPathSize("f" + std::to_string(random() % 30), folder.get(),
                                             size, 0, false, false);
        }
        all.push_back(folder.get());
    }
    root->calctotalsize();
    return root;
}

// Checks every folder below `folder` the way a sorted list is read: ordinary
// children first, largest first, equal sizes in numeric name order.
void expectSorted(const FolderSystemItem& folder) {
    const ChildList& children = folder.childrenArray();
    if (!children.empty()) {
        EXPECT_TRUE(folder.isSorted()) << folder.fullPath();
    }
    for (std::size_t i = 1; i < children.size(); ++i) {
        const FileSystemItem& before = *children[i - 1];
        const FileSystemItem& after = *children[i];
        const bool specialBefore = before.isInaccessible() || before.isUnscanned();
        const bool specialAfter = after.isInaccessible() || after.isUnscanned();
        ASSERT_TRUE(!specialBefore || specialAfter) << folder.fullPath();
        if (specialBefore == specialAfter) {
            ASSERT_GE(before.gettotalsize(), after.gettotalsize()) << folder.fullPath();
            if (before.gettotalsize() == after.gettotalsize()) {
                ASSERT_LE(compareNumeric(before.relativePath(), after.relativePath()), 0);
            }
        }
    }
    for (const ItemRef& child : children) {
        if (child->isDir() && !child->isPack()) {
            expectSorted(static_cast<const FolderSystemItem&>(*child));
        }
    }
}

}  // namespace

TEST(ParallelTreeSort, EveryFolderOfALargeTreeEndsInListOrder) {
    FolderRef root = randomTree(20000);
    sortTreeBySizeInParallel(*root);
    expectSorted(*root);
}

TEST(ParallelTreeSort, SmallTreesAndEmptyFoldersAreSortedToo) {
    FolderRef root = randomTree(30);
    sortTreeBySizeInParallel(*root);
    expectSorted(*root);
    FolderRef empty =
        FolderSystemItem::initWithPathSizeNoParent("/empty", nullptr, 0, false, 0, false, false);
    sortTreeBySizeInParallel(*empty);
    EXPECT_EQ(empty->numberOfChildren(), 0U);
}
