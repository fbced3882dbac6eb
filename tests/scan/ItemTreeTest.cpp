#include "scan/tree/FolderSystemItem.h"
#include "scan/tree/NumericOrder.h"
#include "scan/tree/SpecialSystemItem.h"
#include "scan/tree/VolumeSystemItem.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace korvex {
namespace {

FolderRef rootAt(std::string_view path) {
    return FolderSystemItem::initWithPathSizeNoParent(path, nullptr, 0, false, 0, false, false);
}

ItemRef addFile(FolderSystemItem* parent, std::string_view name, std::int64_t size,
                bool hidden = false) {
    return FileSystemItem::initWithPathSize(name, parent, size, 0, hidden, false);
}

FolderSystemItem* addFolder(FolderSystemItem* parent, std::string_view name, bool pack = false) {
    return FolderSystemItem::initWithPathSize(name, parent, 0, pack, 0, false, false).get();
}

std::vector<std::string> childNames(const FolderSystemItem& folder) {
    std::vector<std::string> names;
    for (const ItemRef& child : folder.childrenArray()) {
        names.emplace_back(child->relativePath());
    }
    return names;
}

TEST(ItemTreePaths, ChildOfSlashRootHasNoDoubledSeparator) {
    FolderRef root = rootAt("/");
    FolderSystemItem* a = addFolder(root.get(), "a");
    ItemRef file = addFile(a, "f.txt", 10);
    EXPECT_EQ(root->fullPath(), "/");
    EXPECT_EQ(a->fullPath(), "/a");
    EXPECT_EQ(file->fullPath(), "/a/f.txt");
    EXPECT_EQ(root->name(), "/");
}

TEST(ItemTreePaths, RootKeepsAbsolutePathAndAnswersLastComponentAsName) {
    FolderRef root = rootAt("/home/u/data");
    ItemRef file = addFile(root.get(), "x", 1);
    EXPECT_EQ(root->relativePath(), "/home/u/data");
    EXPECT_EQ(root->name(), "data");
    EXPECT_EQ(file->fullPath(), "/home/u/data/x");
    EXPECT_EQ(file->getTopParent(), root.get());
}

TEST(ItemTreePaths, OddBytesInNamesSurvivePathsAndLookup) {
    FolderRef root = rootAt("/t");
    const std::string odd[] = {"new\nline", "quote\"d 'both'", std::string("bad\xff\xfe utf8"),
                               "$(rm -rf) `x`", std::string(255, 'n')};
    for (const std::string& name : odd) {
        FolderSystemItem* folder = addFolder(root.get(), name);
        addFile(folder, name, 7);
    }
    for (const std::string& name : odd) {
        std::string path = "/t/" + name + "/" + name;
        ItemRef found = root->getItemByFilePath(path);
        ASSERT_NE(found, nullptr) << path;
        EXPECT_EQ(found->fullPath(), path);
        EXPECT_EQ(found->relativePath(), name);
    }
}

TEST(ItemTreePaths, RenamingReplacesTheStoredName) {
    FolderRef root = rootAt("/old");
    ItemRef file = addFile(root.get(), "f", 1);
    root->updatePath("/new/place");
    EXPECT_EQ(file->fullPath(), "/new/place/f");
    file->updatePath("g");
    file->updatePath("h");
    EXPECT_EQ(file->fullPath(), "/new/place/h");
}

class ItemTreeLookup : public ::testing::Test {
  protected:
    void SetUp() override {
        root = rootAt("/a");
        b = addFolder(root.get(), "b");
        bc = addFolder(root.get(), "bc");
        addFile(bc, "x", 5);
        addFile(b, "x", 3);
        pkg = addFolder(b, "Tool.app", true);
        upper = addFolder(b, "Data");
    }
    FolderRef root;
    FolderSystemItem* b = nullptr;
    FolderSystemItem* bc = nullptr;
    FolderSystemItem* pkg = nullptr;
    FolderSystemItem* upper = nullptr;
};

TEST_F(ItemTreeLookup, OnlyWholeExactComponentsMatch) {
    EXPECT_EQ(b->getItemByFilePath("/a/bc/x"), nullptr);
    EXPECT_EQ(root->getItemByFilePath("/a/bc/x")->getParent(), bc);
    EXPECT_EQ(root->getItemByFilePath("/a/b/x")->getParent(), b);
    EXPECT_EQ(root->getItemByFilePath("/a/b"), ItemRef(b));
    EXPECT_EQ(root->getItemByFilePath("/ab"), nullptr);
    EXPECT_EQ(root->getItemByFilePath("/a/nothing"), nullptr);
    EXPECT_EQ(root->getItemByFilePath("/a/b/x/deeper"), nullptr) << "a path through a file";
    EXPECT_NE(root->getItemByFilePath("/a/b/Data"), nullptr);
    EXPECT_EQ(root->getItemByFilePath("/a/b/data"), nullptr) << "names compare case-sensitively";
}

TEST_F(ItemTreeLookup, PackagesAreFoundButNotEntered) {
    EXPECT_EQ(root->getItemByFilePath("/a/b/Tool.app"), ItemRef(pkg));
    EXPECT_EQ(root->getItemByFilePath("/a/b/Tool.app/Contents"), nullptr);
    EXPECT_EQ(root->getFolderItemByFolderPath("/a/b/Tool.app/Contents"), nullptr);
    EXPECT_EQ(pkg->numberOfChildren(), 0u);
}

TEST_F(ItemTreeLookup, FolderLookupCreatesMissingFoldersOnlyWhenAsked) {
    EXPECT_EQ(root->getFolderItemByFolderPath("/a/new/deep", false), nullptr);
    EXPECT_EQ(root->numberOfChildren(), 2u);

    // Below an existing folder the missing rest is always made.
    FolderSystemItem* made = root->getFolderItemByFolderPath("/a/b/.cache/x", false);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->fullPath(), "/a/b/.cache/x");
    EXPECT_TRUE(made->getParent()->isHiddenFlag());
    EXPECT_EQ(made->getTimeCode(), 1);
    EXPECT_EQ(root->getItemByFilePath("/a/b/.cache/x"), ItemRef(made));

    FolderSystemItem* top = root->getFolderItemByFolderPath("/a/new/deep");
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(top->fullPath(), "/a/new/deep");
    EXPECT_EQ(root->getFolderItemByFolderPath("/a/new/deep"), top);
    EXPECT_EQ(root->getFolderItemByFolderPath("/a"), root.get());
    EXPECT_EQ(root->getFolderItemByFolderPath("/elsewhere/x"), nullptr);
}

TEST(ItemTreeOrder, NumericNameOrder) {
    EXPECT_LT(compareNumeric("b2", "b10"), 0);
    EXPECT_GT(compareNumeric("file10", "file9"), 0);
    EXPECT_LT(compareNumeric("a", "b"), 0);
    EXPECT_LT(compareNumeric("a", "a1"), 0);
    EXPECT_EQ(compareNumeric("x7y", "x7y"), 0);
    EXPECT_NE(compareNumeric("x07", "x7"), 0);  // total order: leading zeros still differ
    EXPECT_EQ(compareNumeric("x07", "x7"), -compareNumeric("x7", "x07"));
    EXPECT_LT(compareNumeric("99999999999999999999998", "99999999999999999999999"), 0);
    EXPECT_LT(compareNumeric("a", std::string("a\xff")), 0);
}

namespace {

// Names split into digit runs, compared by value, and other bytes, compared
// as bytes; names equal so are ordered by their bytes. Written apart from the
// shortcut the tree's comparison takes, to check it on many names.
int numericOrderByRuns(std::string_view a, std::string_view b) {
    auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (isDigit(a[i]) && isDigit(b[j])) {
            auto run = [&](std::string_view s, std::size_t& k) {
                while (k < s.size() && s[k] == '0')
                    ++k;
                const std::size_t from = k;
                while (k < s.size() && isDigit(s[k]))
                    ++k;
                return s.substr(from, k - from);
            };
            std::string_view ra = run(a, i);
            std::string_view rb = run(b, j);
            if (ra.size() != rb.size())
                return ra.size() < rb.size() ? -1 : 1;
            if (ra != rb)
                return ra < rb ? -1 : 1;
        } else if (a[i] != b[j]) {
            return static_cast<unsigned char>(a[i]) < static_cast<unsigned char>(b[j]) ? -1 : 1;
        } else {
            ++i;
            ++j;
        }
    }
    if (i < a.size() || j < b.size())
        return i < a.size() ? 1 : -1;
    return a == b ? 0 : (a < b ? -1 : 1);
}

}  // namespace

TEST(ItemTreeOrder, NumericNameOrderAgreesWithDigitRunsOnManyNames) {
    std::mt19937 random(5);
    // Bytes on both sides of the digits, and now and then a run of digits
    // too long for the sort's shortcut to weigh.
    const std::string alphabet = std::string("ab.0019:\xff ") + '\x01';
    auto name = [&] {
        std::string s(random() % 12, ' ');
        for (char& c : s)
            c = alphabet[random() % alphabet.size()];
        if (random() % 50 == 0) {
            std::string run(253 + random() % 5, ' ');
            for (char& c : run)
                c = static_cast<char>('1' + random() % 9);
            s.insert(random() % (s.size() + 1), run);
        }
        return s;
    };
    for (int n = 0; n < 200000; ++n) {
        const std::string a = name();
        const std::string b =
            random() % 3 == 0 ? a.substr(0, random() % (a.size() + 1)) + name() : name();
        const int sign = (compareNumeric(a, b) > 0) - (compareNumeric(a, b) < 0);
        ASSERT_EQ(sign, numericOrderByRuns(a, b)) << a << " | " << b;
        // The sort's shortcut may leave a pair undecided, never decide it wrongly.
        const std::uint64_t keyA = numericOrderKey(a);
        const std::uint64_t keyB = numericOrderKey(b);
        if (keyA != keyB) {
            ASSERT_EQ(keyA < keyB ? -1 : 1, sign) << a << " | " << b;
        }
    }
}

TEST(ItemTreeOrder, LargestFirstTiesByNumericNameSpecialChildrenLast) {
    VolumeRef vol = VolumeSystemItem::initWithPath("/", 1000, 100);
    SpecialSystemItem::initWithType(SpecialSystemItem::Inaccessible, vol.get(), "gone", 900);
    SpecialSystemItem::initWithType(SpecialSystemItem::Unscanned, vol.get(), "later", 800);
    addFile(vol.get(), "b10", 5);
    addFile(vol.get(), "b2", 5);
    addFile(vol.get(), "big", 50);
    FolderSystemItem* dir = addFolder(vol.get(), "dir");
    addFile(dir, "z", 1);
    addFile(dir, "y", 2);
    vol->calctotalsize();
    vol->sortChildrenBySize(false);

    std::vector<std::string> names = childNames(*vol);
    ASSERT_EQ(names.size(), 6u);
    EXPECT_EQ(names[0], "big");
    EXPECT_EQ(names[1], "b2");
    EXPECT_EQ(names[2], "b10");
    EXPECT_EQ(names[3], "dir");
    EXPECT_TRUE(vol->childAtIndex(4)->isSpecial());
    EXPECT_TRUE(vol->childAtIndex(5)->isSpecial());
    EXPECT_EQ(childNames(*dir), (std::vector<std::string>{"y", "z"}));
    EXPECT_TRUE(vol->isSorted());
    EXPECT_TRUE(dir->isSorted());
}

TEST(ItemTreeOrder, SortedFlagSkipsWorkUnlessForcedAndIsClearedUpwards) {
    FolderRef root = rootAt("/r");
    FolderSystemItem* sub = addFolder(root.get(), "sub");
    addFile(root.get(), "small", 1);
    addFile(root.get(), "large", 9);
    root->sortChildrenBySize(false);
    EXPECT_EQ(childNames(*root)[0], "large");

    addFile(root.get(), "huge", 99);
    root->sortChildrenBySize(false);
    EXPECT_EQ(childNames(*root)[0], "large");  // still marked sorted
    root->sortChildrenBySize(true);
    EXPECT_EQ(childNames(*root)[0], "huge");

    sub->setSorted(true);
    sub->setSorted(false, true);
    EXPECT_FALSE(root->isSorted());
}

TEST(ItemTreeOrder, OrderedInsertion) {
    FolderRef root = rootAt("/r");
    addFile(root.get(), "a", 30);
    addFile(root.get(), "f2", 20);
    addFile(root.get(), "f10", 20);
    addFile(root.get(), "c", 10);
    root->insertChildSorting(
        FileSystemItem::initWithPathSizeNoParent("f3", root.get(), 20, 0, false, false));
    root->insertChildSorting(
        FileSystemItem::initWithPathSizeNoParent("tiny", root.get(), 1, 0, false, false));
    root->insertChildSorting(
        FileSystemItem::initWithPathSizeNoParent("top", root.get(), 99, 0, false, false));
    EXPECT_EQ(childNames(*root),
              (std::vector<std::string>{"top", "a", "f2", "f3", "f10", "c", "tiny"}));
}

TEST(ItemTreeSizes, TotalsNeverGoNegativeAndPackagesCountTheirContent) {
    FolderRef root = rootAt("/r");
    addFile(root.get(), "neg", -500);
    addFile(root.get(), "pos", 100);
    FolderSystemItem* pkg = addFolder(root.get(), "X.bundle", true);
    pkg->addFileSizeForAll(40);
    pkg->addFileSizeForAll(2);
    EXPECT_EQ(root->calctotalsize(), 142);
    EXPECT_EQ(pkg->gettotalsize(), 42);

    FolderSystemItem* plain = addFolder(root.get(), "plain");
    plain->addFileSizeForAll(1000);  // not a package: refused
    EXPECT_EQ(root->calctotalsize(), 142);
}

TEST(ItemTreeSizes, IncrementalChangesReachTheRoot) {
    FolderRef root = rootAt("/r");
    FolderSystemItem* mid = addFolder(root.get(), "mid");
    ItemRef leaf = addFile(mid, "leaf", 70);
    addFile(mid, "other", 30);
    root->calctotalsize();
    mid->increaseTotalSize(5);
    EXPECT_EQ(mid->gettotalsize(), 105);
    EXPECT_EQ(root->gettotalsize(), 105);
    mid->removeChildAndRecalc(leaf.get());
    EXPECT_EQ(root->gettotalsize(), 35);
    EXPECT_EQ(mid->numberOfChildren(), 1u);
    leaf->addFileSizeForAll(10);  // a file adds to its ancestors
    EXPECT_EQ(root->gettotalsize(), 45);
}

TEST(ItemTreeSizes, VolumeRecordsLargestNodePerLevel) {
    VolumeRef vol = VolumeSystemItem::initWithPath("/mnt/v", 10000, 4000);
    FolderSystemItem* a = addFolder(vol.get(), "a");
    addFile(a, "a1", 300);
    addFile(a, "a2", 200);
    addFile(vol.get(), "f", 400);
    EXPECT_FALSE(vol->isMaxSizesValid());
    EXPECT_EQ(vol->calctotalsizeex(), 900);
    const std::int64_t* levels = vol->getMaxSizesByLevels();
    EXPECT_EQ(levels[0], 900);
    EXPECT_EQ(levels[1], 500);
    EXPECT_EQ(levels[2], 300);
    EXPECT_EQ(levels[3], 0);
    EXPECT_TRUE(vol->isMaxSizesValid());
    vol->removeChildAndRecalc(vol->childAtIndex(1));
    EXPECT_FALSE(vol->isMaxSizesValid());
    EXPECT_EQ(vol->gettotalsize(), 500);
}

TEST(ItemTreeSizes, AGrowingTreeIsRecountedWhereItChangedOnly) {
    VolumeRef vol = VolumeSystemItem::initWithPath("/mnt/v", 100'000, 0);
    FolderSystemItem* quiet = addFolder(vol.get(), "quiet");
    ItemRef untouched = addFile(quiet, "q", 100);
    FolderSystemItem* busy = addFolder(vol.get(), "busy");
    FolderSystemItem* deep = addFolder(busy, "deep");
    addFile(deep, "d1", 10);
    EXPECT_EQ(vol->recountChangedTotals(), 110);

    // As a scan goes on: nodes attached deep down, blocks of a folder itself,
    // a package's content. A change behind the tree's back in a quiet branch
    // is not looked at: that branch is not counted again.
    addFile(deep, "d2", 1'000);
    addFolder(deep, "new")->addFileSizeForAll(1);  // refused: not a package
    busy->addOwnBlocks(4'096);
    busy->markTotalStale();
    FolderSystemItem* pkg = addFolder(vol.get(), "P.bundle", true);
    pkg->addFileSizeForAll(50'000);
    untouched->setFileSize(7);
    EXPECT_EQ(vol->recountChangedTotals(), 100 + 10 + 1'000 + 4'096 + 50'000);
    EXPECT_EQ(deep->gettotalsize(), 1'010);
    EXPECT_EQ(quiet->gettotalsize(), 100);
    const std::int64_t* levels = vol->getMaxSizesByLevels();
    EXPECT_EQ(levels[1], 50'000);
    EXPECT_EQ(levels[2], 1'010);
    EXPECT_EQ(levels[3], 1'000);
    // A full count sees everything again.
    EXPECT_EQ(vol->calctotalsizeex(), 7 + 10 + 1'000 + 4'096 + 50'000);
    EXPECT_EQ(vol->recountChangedTotals(), vol->gettotalsize());
}

TEST(ItemTreeSizes, VolumeOccupiedAndShownSizes) {
    VolumeRef vol = VolumeSystemItem::initWithPath("/", 1000, 600);
    EXPECT_EQ(vol->getTheSize(), 400);  // nothing scanned yet
    EXPECT_EQ(vol->getOccSize(), 400);
    addFile(vol.get(), "f", 700);
    vol->calctotalsize();
    EXPECT_EQ(vol->getOccSize(), 700);
    EXPECT_EQ(vol->getTheSize(), 700);
    EXPECT_DOUBLE_EQ(vol->getFullRatio(), 0.7);
    vol->setUseFreeSector(true);
    EXPECT_EQ(vol->getTheSize(), 1000);
    EXPECT_EQ(vol->getWholeItemSize(), 1000);
}

TEST(ItemTreeSizes, SpecialTail) {
    VolumeRef vol = VolumeSystemItem::initWithPath("/", 1000, 0);
    std::size_t index = 99;
    EXPECT_EQ(vol->specialItemsSize(&index), 0);
    EXPECT_EQ(index, 0u);

    auto purge = SpecialSystemItem::initWithType(SpecialSystemItem::Purgeable, vol.get(), "p", 30);
    EXPECT_EQ(vol->purgeableSpaceItem(), purge.get());
    EXPECT_EQ(vol->specialItemsSize(&index), 30);
    EXPECT_EQ(index, 0u);  // all children special

    addFile(vol.get(), "f", 10);
    EXPECT_EQ(vol->specialItemsSize(&index), 0);
    EXPECT_EQ(index, 2u);
    SpecialSystemItem::initWithType(SpecialSystemItem::Unscanned, vol.get(), "u", 5);
    SpecialSystemItem::initWithType(SpecialSystemItem::Inaccessible, vol.get(), "i", 6);
    EXPECT_EQ(vol->specialItemsSize(&index), 11);
    EXPECT_EQ(index, 2u);
}

TEST(ItemTreeFlags, TrashFlagFollowsTheFreedesktopNames) {
    FolderRef root = rootAt("/r");
    auto make = [&](const char* name) {
        return FolderSystemItem::initWithPathSize(name, root.get(), 0, false, 0, name[0] == '.',
                                                  false);
    };
    auto hidden = make(".Trash");
    EXPECT_TRUE(hidden->isTrashFlag());
    EXPECT_TRUE(make(".Trash-0")->isTrashFlag());
    EXPECT_FALSE(make(".Trashes")->isTrashFlag());
    EXPECT_FALSE(make(".Trash2")->isTrashFlag());
    EXPECT_FALSE(make(".Trash-")->isTrashFlag());
    EXPECT_FALSE(make("Trash")->isTrashFlag());
    // A scan root knows only its path.
    EXPECT_TRUE(rootAt("/home/u/.local/share/Trash")->isTrashFlag());
    ItemRef inside = addFile(hidden.get(), "f", 1);
    EXPECT_TRUE(inside->isTopTrashFlag());
    EXPECT_TRUE(inside->isTopHiddenFlag());
    EXPECT_FALSE(inside->isHiddenFlag());
}

TEST(ItemTreeFlags, TimeCodeKeepsOnlyItsLowBitsAndFlagsDoNotDisturbIt) {
    ItemRef f = FileSystemItem::initWithPathSizeNoParent("f", nullptr, 0, 0xFB, false, false);
    EXPECT_EQ(f->getTimeCode(), 0x0B);
    f->setCollected(true);
    f->setSorted(true);
    f->setHiddenFlag(true);
    EXPECT_EQ(f->getTimeCode(), 0x0B);
    f->setCollected(false);
    EXPECT_TRUE(f->isSorted());
    EXPECT_TRUE(f->isHiddenFlag());
    EXPECT_FALSE(f->isCollected());
}

TEST(ItemTreeCollection, MarksFollowAddedAndRemovedPaths) {
    FolderRef root = rootAt("/r");
    FolderSystemItem* docs = addFolder(root.get(), "docs");
    ItemRef a = addFile(docs, "a", 1);
    ItemRef b = addFile(docs, "b", 1);
    FolderSystemItem* docs2 = addFolder(root.get(), "docs2");
    ItemRef c = addFile(docs2, "c", 1);

    root->updateAddedItemsToCollection({"/r/docs/a"});
    EXPECT_TRUE(a->isCollected());
    EXPECT_FALSE(b->isCollected());
    EXPECT_FALSE(docs->isCollected());

    // Collecting the folder clears the marks below it; descendants answer by ancestry.
    root->updateAddedItemsToCollection({"/r/docs"});
    EXPECT_TRUE(docs->isCollected());
    EXPECT_FALSE(a->isCollected());
    EXPECT_TRUE(a->isTopCollected());
    EXPECT_TRUE(b->isParentCollected());
    EXPECT_FALSE(c->isTopCollected());

    root->updateAddedItemsToCollection({"/r/docs2/c"});
    root->updateRemovedItemsInCollection({"/r/docs"});
    EXPECT_FALSE(docs->isCollected());
    EXPECT_FALSE(a->isTopCollected());
    EXPECT_TRUE(c->isCollected());
}

TEST(ItemTreeDepth, DepthAndLevels) {
    FolderRef root = rootAt("/r");
    FolderSystemItem* a = addFolder(root.get(), "a");
    FolderSystemItem* b = addFolder(a, "b");
    ItemRef f = addFile(b, "f", 1);
    FolderSystemItem* pkg = addFolder(root.get(), "P.app", true);
    FolderSystemItem* empty = addFolder(root.get(), "empty");
    EXPECT_EQ(root->getChildDepth(), 3);
    EXPECT_EQ(pkg->getChildDepth(), 0);
    EXPECT_EQ(empty->getChildDepth(), 0);
    EXPECT_EQ(f->calcLevelsToParent(b), 1);
    EXPECT_EQ(f->calcLevelsToParent(root.get()), 3);
    EXPECT_EQ(f->calcLevelsToParent(pkg), -1000);
    EXPECT_TRUE(f->isMyParent(a));
    EXPECT_FALSE(a->isMyParent(b));
}

TEST(ItemTreeBiggest, ListKeepsTheHundredLargestInOrder) {
    FolderRef root = rootAt("/r");
    FolderSystemItem* sub = addFolder(root.get(), "sub");
    for (int i = 1; i <= 150; ++i) {
        addFile(i % 2 ? root.get() : sub, "f" + std::to_string(i), i * 10);
    }
    FolderSystemItem* pkg = addFolder(root.get(), "P.app", true);
    pkg->addFileSizeForAll(1505);
    pkg->calctotalsize();

    ItemList list;
    root->fillBiggestFilesArray(list);
    ASSERT_EQ(list.size(), kBiggestFilesBound);
    EXPECT_EQ(list.front()->relativePath(), "P.app");  // packages count as files
    for (std::size_t i = 1; i < list.size(); ++i) {
        EXPECT_GE(list[i - 1]->gettotalsize(), list[i]->gettotalsize());
    }
    EXPECT_EQ(list.back()->gettotalsize(), 520);  // 150 files + package, the smallest 51 dropped

    ItemRef small = FileSystemItem::initWithPathSizeNoParent("s", root.get(), 5, 0, false, false);
    EXPECT_FALSE(small->insert2BiggestFilesArray(list));
    EXPECT_EQ(list.size(), kBiggestFilesBound);
    ItemRef big = FileSystemItem::initWithPathSizeNoParent("b", root.get(), 525, 0, false, false);
    EXPECT_TRUE(big->insert2BiggestFilesArray(list));
    EXPECT_EQ(list.size(), kBiggestFilesBound);
    EXPECT_EQ(list.back()->gettotalsize(), 525);

    auto special = SpecialSystemItem::initWithType(SpecialSystemItem::Purgeable, nullptr, "p", 1);
    ItemList empty;
    EXPECT_FALSE(special->insert2BiggestFilesArray(empty));
}

TEST(ItemTreeDuplicate, FolderDuplicateCopiesTheSubtreeButNotTheMarks) {
    FolderRef src = rootAt("/s");
    FolderSystemItem* dir = addFolder(src.get(), "dir");
    ItemRef f = FileSystemItem::initWithPathSize("f", dir, 10, 3, true, true);
    FolderSystemItem* pkg = addFolder(dir, "P.app", true);
    pkg->addFileSizeForAll(7);
    f->setCollected(true);

    FolderRef dst = rootAt("/d");
    ItemRef copy = dir->addDuplicateToParent(dst.get());
    ASSERT_EQ(dst->numberOfChildren(), 1u);
    ItemRef copiedFile = dst->getItemByFilePath("/d/dir/f");
    ASSERT_NE(copiedFile, nullptr);
    EXPECT_NE(copiedFile, f);
    EXPECT_EQ(copiedFile->gettotalsize(), 10);
    EXPECT_EQ(copiedFile->getTimeCode(), 3);
    EXPECT_TRUE(copiedFile->isHiddenFlag());
    EXPECT_TRUE(copiedFile->isCloudStored());
    EXPECT_FALSE(copiedFile->isCollected());
    ItemRef copiedPkg = dst->getItemByFilePath("/d/dir/P.app");
    ASSERT_NE(copiedPkg, nullptr);
    EXPECT_TRUE(copiedPkg->isPack());
    EXPECT_EQ(copiedPkg->calctotalsize(), 7);
    EXPECT_EQ(dir->numberOfChildren(), 2u);  // the source is untouched
}

}  // namespace
}  // namespace korvex
