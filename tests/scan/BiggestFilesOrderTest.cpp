#include "scan/tree/BiggestFilesInListOrder.h"
#include "scan/tree/FolderSystemItem.h"
#include "scan/tree/SpecialSystemItem.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <utility>
#include <vector>

using namespace korvex;

namespace {

// A tree whose children stand in the order they were added, as a scan that
// orders only its root leaves them: files of a few sizes, so that many are
// of one size, spread over nested folders.
FolderRef unorderedTree(unsigned seed, int folders, int sizes) {
    std::mt19937 random(seed);
    FolderRef root =
        FolderSystemItem::initWithPathSizeNoParent("/biggest", nullptr, 0, false, 0, false, false);
    std::vector<FolderSystemItem*> all{root.get()};
    for (int i = 0; i < folders; ++i) {
        FolderSystemItem* parent = all[random() % all.size()];
        FolderRef folder = FolderSystemItem::initWithPathSize("d" + std::to_string(i), parent, 0,
                                                              false, 0, false, false);
        for (int k = random() % 8; k > 0; --k) {
            FileSystemItem::initWithPathSize("f" + std::to_string(k * 7 % 9), folder.get(),
                                             std::int64_t(random() % sizes) << 12, 0, false, false);
        }
        all.push_back(folder.get());
    }
    SpecialSystemItem::initWithType(SpecialSystemItem::Inaccessible, root.get(), "Inaccessible",
                                    std::int64_t(sizes) << 12);
    root->calctotalsize();
    return root;
}

// The list the window shows once every folder is in order.
ItemList listOfOrderedTree(FolderSystemItem& root, std::size_t count) {
    root.sortChildrenBySize(true);
    ItemList files;
    root.fillBiggestFilesArray(files);
    files.resize(std::min(files.size(), count));
    return files;
}

}  // namespace

TEST(BiggestFilesInListOrder, ListsWhatTheOrderedTreeListsWhateverTheFoldersOrder) {
    // Few sizes: ties everywhere, and more files of the last listed size than
    // a full list holds. Many sizes: ties only here and there.
    // One size only, in thousands of files: the tree is ordered instead.
    for (auto [sizes, folders] : {std::pair{3, 400}, {40, 400}, {5000, 400}, {1, 2000}}) {
        for (std::size_t count : {std::size_t{1}, std::size_t{10}, kBiggestFilesBound}) {
            SCOPED_TRACE("sizes " + std::to_string(sizes) + ", count " + std::to_string(count));
            FolderRef root = unorderedTree(3, folders, sizes);
            const ItemList unordered = biggestFilesInListOrder(*root, count);
            const ItemList ordered = listOfOrderedTree(*root, count);
            ASSERT_EQ(unordered.size(), ordered.size());
            for (std::size_t i = 0; i < ordered.size(); ++i) {
                EXPECT_EQ(unordered[i], ordered[i]) << i << ": " << unordered[i]->fullPath()
                                                    << " against " << ordered[i]->fullPath();
            }
        }
    }
}

TEST(BiggestFilesInListOrder, ATreeOfFewFilesListsThemAll) {
    FolderRef root =
        FolderSystemItem::initWithPathSizeNoParent("/few", nullptr, 0, false, 0, false, false);
    FolderRef sub =
        FolderSystemItem::initWithPathSize("sub", root.get(), 0, false, 0, false, false);
    FileSystemItem::initWithPathSize("b", sub.get(), 4096, 0, false, false);
    FileSystemItem::initWithPathSize("a", root.get(), 4096, 0, false, false);
    FileSystemItem::initWithPathSize("c", root.get(), 8192, 0, false, false);
    root->calctotalsize();
    const ItemList files = biggestFilesInListOrder(*root, 10);
    ASSERT_EQ(files.size(), 3U);
    EXPECT_EQ(files[0]->name(), "c");
    // Of one size, the file in the bigger branch first: sub (4096) ties with a
    // (4096) and goes after it by name, so a comes first.
    EXPECT_EQ(files[1]->name(), "a");
    EXPECT_EQ(files[2]->name(), "b");
    EXPECT_TRUE(biggestFilesInListOrder(*root, 0).empty());
}
