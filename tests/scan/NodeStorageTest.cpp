// How nodes keep their fields narrow: sizes in 32 bits with the rest kept
// beside the tree, names in the arena or beside it, parents as arena handles,
// flags in the word of the reference count.

#include "scan/tree/FolderSystemItem.h"
#include "scan/tree/RareNodeFields.h"
#include "scan/tree/SizeCode.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace korvex {
namespace {

constexpr std::int64_t kTiB = std::int64_t{1} << 40;

FolderRef makeRoot(std::string_view path = "/nodes") {
    return FolderSystemItem::initWithPathSizeNoParent(path, nullptr, 0, false, 0, false, false);
}

ItemRef addFile(FolderSystemItem* parent, std::string_view name, std::int64_t size) {
    return FileSystemItem::initWithPathSize(name, parent, size, 0, false, false);
}

TEST(NodeSizes, EverySizeComesBackExactlyWhereverItIsKept) {
    const std::int64_t sizes[] = {0,
                                  1,
                                  511,
                                  512,
                                  (std::int64_t{1} << 31) - 1,  // the largest kept in bytes
                                  std::int64_t{1} << 31,        // whole blocks from here on
                                  (std::int64_t{1} << 31) + 1,  // not whole blocks: beside
                                  kTiB - 512,
                                  kTiB,
                                  2 * kTiB + 512,
                                  3 * kTiB,  // far beyond 32 bits of blocks
                                  std::int64_t{1} << 62,
                                  -4096};
    const std::size_t before = rareNodeFields::entries();
    FolderRef root = makeRoot();
    for (std::int64_t size : sizes) {
        ItemRef file = addFile(root.get(), "f", size);
        EXPECT_EQ(file->gettotalsize(), size);
        EXPECT_EQ(file->selfSize(), size);
        EXPECT_EQ(file->calctotalsize(), std::max<std::int64_t>(size, 0));
        const bool fits = sizeCode::encode(size).has_value();
        EXPECT_EQ(rareNodeFields::entries() > before, !fits) << size;
        root->removeChild(file.get());
        file.reset();
        EXPECT_EQ(rareNodeFields::entries(), before) << size;
    }
}

TEST(NodeSizes, AHugeFileCountsFullyAndItsSideEntryFollowsItsSize) {
    const std::size_t before = rareNodeFields::entries();
    {
        FolderRef root = makeRoot();
        FolderSystemItem* sub =
            FolderSystemItem::initWithPathSize("sub", root.get(), 0, false, 0, false, false).get();
        ItemRef huge = addFile(sub, "disk.img", 3 * kTiB + 4096);
        addFile(sub, "small", 1000);
        sub->addOwnBlocks(4096);
        EXPECT_EQ(root->calctotalsize(), 3 * kTiB + 4096 + 1000 + 4096);
        EXPECT_EQ(sub->selfSize(), 3 * kTiB + 4096 + 1000 + 4096);
        EXPECT_EQ(rareNodeFields::entries(), before + 1);

        // Settling hard links moves sizes around: down to 0 frees the entry,
        // up again takes one.
        huge->setFileSize(0);
        EXPECT_EQ(rareNodeFields::entries(), before);
        EXPECT_EQ(root->calctotalsize(), 1000 + 4096);
        huge->setFileSize(5 * kTiB);
        EXPECT_EQ(huge->gettotalsize(), 5 * kTiB);
        EXPECT_EQ(rareNodeFields::entries(), before + 1);
    }
    EXPECT_EQ(rareNodeFields::entries(), before);
}

TEST(NodeSizes, APackageGrowsPastThirtyTwoBitsOfBlocks) {
    const std::size_t before = rareNodeFields::entries();
    FolderRef root = makeRoot();
    FolderRef package =
        FolderSystemItem::initWithPathSize("Big.app", root.get(), 0, true, 0, false, false);
    for (int i = 0; i < 5; ++i) {
        package->addFileSizeForAll(kTiB);
    }
    package->addFileSizeForAll(512);
    EXPECT_EQ(package->ownCountedSize(), 5 * kTiB + 512);
    EXPECT_EQ(root->calctotalsize(), 5 * kTiB + 512);
    // A copy keeps what the package counted.
    ItemRef copy = package->addDuplicateToParent(root.get());
    EXPECT_EQ(copy->calctotalsize(), 5 * kTiB + 512);
    copy.reset();
    package.reset();
    root.reset();
    EXPECT_EQ(rareNodeFields::entries(), before);
}

TEST(NodeNames, RenamedAndOverlongNamesLiveBesideTheTreeUntilTheNodeGoes) {
    const std::size_t before = rareNodeFields::entries();
    const std::string longRoot = "/" + std::string(40'000, 'r');
    {
        FolderRef root = makeRoot(longRoot);
        ItemRef file = addFile(root.get(), "old name", 1);
        EXPECT_EQ(root->relativePath(), longRoot);
        EXPECT_EQ(file->fullPath(), longRoot + "/old name");
        file->updatePath("new name");
        file->updatePath("newer name");
        EXPECT_EQ(file->name(), "newer name");
        EXPECT_EQ(root->getItemByFilePath(longRoot + "/newer name"), file);
        EXPECT_EQ(rareNodeFields::entries(), before + 2);
    }
    EXPECT_EQ(rareNodeFields::entries(), before);
}

TEST(NodeParents, AChildHeldPastItsFolderIsLeftWithoutAParent) {
    ItemRef kept;
    ItemRef keptFolder;
    {
        FolderRef root = makeRoot("/gone");
        FolderSystemItem* sub =
            FolderSystemItem::initWithPathSize("sub", root.get(), 0, false, 0, false, false).get();
        kept = addFile(sub, "kept.txt", 512);
        keptFolder = sub;
        EXPECT_EQ(kept->fullPath(), "/gone/sub/kept.txt");
    }
    // The root is gone; the held folder still holds its child.
    EXPECT_EQ(keptFolder->getParent(), nullptr);
    EXPECT_EQ(kept->getParent(), keptFolder.get());
    keptFolder.reset();
    EXPECT_EQ(kept->getParent(), nullptr);
    EXPECT_EQ(kept->fullPath(), "kept.txt");
    EXPECT_EQ(kept->getTopParent(), kept.get());
    EXPECT_EQ(kept->gettotalsize(), 512);
}

TEST(NodeParents, HandlesReachParentsInChunksOfOtherThreads) {
    // Enough folders on two threads that parents and children sit in many
    // different chunks.
    FolderRef root = makeRoot("/threads");
    std::vector<FolderRef> halves(2);
    for (int t = 0; t < 2; ++t) {
        std::thread([&, t] {
            halves[static_cast<std::size_t>(t)] = FolderSystemItem::initWithPathSizeNoParent(
                "half" + std::to_string(t), root.get(), 0, false, 0, false, false);
        }).join();
    }
    std::thread other([&] {
        for (int i = 0; i < 60'000; ++i) {
            addFile(halves[static_cast<std::size_t>(i % 2)].get(), "f" + std::to_string(i), i);
        }
    });
    other.join();
    for (const FolderRef& half : halves) {
        root->addChild(half);
    }
    EXPECT_EQ(root->calctotalsize(), std::int64_t{60'000} * 59'999 / 2);
    for (const FolderRef& half : halves) {
        for (const ItemRef& child : half->childrenArray()) {
            ASSERT_EQ(child->getParent(), half.get());
            ASSERT_EQ(child->getTopParent(), root.get());
        }
    }
    EXPECT_EQ(halves[1]->childAtIndex(29'999)->fullPath(), "/threads/half1/f59999");
}

TEST(NodeFlags, FlagsAndReferencesSharingAWordDoNotDisturbEachOther) {
    FolderRef root = makeRoot();
    ItemRef file = FileSystemItem::initWithPathSize("f", root.get(), 1, 9, true, true);
    std::atomic<bool> stop{false};
    std::thread copier([&] {
        while (!stop) {
            ItemList copies(64, file);
        }
    });
    for (int i = 0; i < 200'000; ++i) {
        file->setCollected(i % 2 == 1);
        file->setSorted(i % 3 == 0);
    }
    stop = true;
    copier.join();
    EXPECT_EQ(file->getTimeCode(), 9);
    EXPECT_TRUE(file->isHiddenFlag());
    EXPECT_TRUE(file->isCloudStored());
    EXPECT_TRUE(file->isCollected());  // the last writes: 199'999 is odd
    EXPECT_FALSE(file->isSorted());    // and not a multiple of 3
    // The folder's reference goes with it; ours is the last (a miscount
    // would free the node early, which the address sanitizer build reports).
    root.reset();
    EXPECT_EQ(file->getParent(), nullptr);
}

TEST(NodeDates, AFoldersDatesAreReadOnceAndForgottenWithIt) {
    test::TempTree tree;
    tree.folder("dated");
    const std::size_t before = rareNodeFields::entries();
    {
        FolderRef root = makeRoot(tree.path());
        FolderSystemItem* dated =
            FolderSystemItem::initWithPathSize("dated", root.get(), 0, false, 0, false, false)
                .get();
        ASSERT_TRUE(dated->getModificationDate().has_value());
        EXPECT_EQ(&dated->attributes(), &dated->attributes());
        EXPECT_EQ(rareNodeFields::entries(), before + 1);
    }
    EXPECT_EQ(rareNodeFields::entries(), before);
}

}  // namespace
}  // namespace korvex
