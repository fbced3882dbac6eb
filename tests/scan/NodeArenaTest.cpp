#include "scan/tree/FolderSystemItem.h"
#include "scan/tree/NodeArena.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>

namespace korvex {
namespace {

// A tree of `files` files under one root, built the way the walker builds:
// on a thread of its own that ends before the tree is used.
FolderRef buildOnWorker(int files, const std::string& nameStem) {
    FolderRef root;
    std::thread worker([&] {
        root = FolderSystemItem::initWithPathSizeNoParent("/arena/root", nullptr, 0, false, 0,
                                                          false, false);
        for (int i = 0; i < files; ++i) {
            FileSystemItem::initWithPathSize(nameStem + std::to_string(i), root.get(), 512 * i, 0,
                                             false, false);
        }
    });
    worker.join();
    return root;
}

TEST(NodeArena, ChunksGoBackWithTheLastNodeOfATreeBuiltOnAnEndedThread) {
    const std::size_t before = nodeArena::mappedChunks();
    FolderRef root = buildOnWorker(100'000, "file_");
    EXPECT_GT(nodeArena::mappedChunks(), before + 1);
    root.reset();
    EXPECT_EQ(nodeArena::mappedChunks(), before);
}

TEST(NodeArena, ANodeHeldPastItsTreeKeepsItsNameAndFacts) {
    const std::size_t before = nodeArena::mappedChunks();
    FolderRef root = buildOnWorker(50'000, "kept_");
    ItemRef kept = root->childAtIndex(41'234);
    root.reset();
    // The rest of the tree is gone; the chunk of the kept node is not.
    EXPECT_GE(nodeArena::mappedChunks(), before + 1);
    EXPECT_EQ(kept->name(), "kept_41234");
    EXPECT_EQ(kept->gettotalsize(), 512 * 41'234);
    kept.reset();
    EXPECT_EQ(nodeArena::mappedChunks(), before);
}

TEST(NodeArena, NamesOfEveryLengthSurviveSideBySide) {
    // Names are packed without padding from the chunk's end while nodes grow
    // from its start; a root path too long for a chunk is kept beside it.
    const std::string longPath = "/" + std::string(300'000, 'p');
    FolderRef root =
        FolderSystemItem::initWithPathSizeNoParent(longPath, nullptr, 0, false, 0, false, false);
    for (int length = 1; length <= 255; ++length) {
        FileSystemItem::initWithPathSize(std::string(static_cast<std::size_t>(length), 'a'),
                                         root.get(), length, 0, false, false);
    }
    EXPECT_EQ(root->relativePath(), longPath);
    for (std::size_t i = 0; i < root->numberOfChildren(); ++i) {
        EXPECT_EQ(root->childAtIndex(i)->name(), std::string(i + 1, 'a'));
        EXPECT_EQ(root->childAtIndex(i)->gettotalsize(), static_cast<std::int64_t>(i + 1));
    }
}

TEST(NodeArena, RecurringNamesAndTheirPrefixesKeepTheirOwnText) {
    // Names that recur are stored once per chunk; names that are prefixes of
    // each other, or that share a hash slot, must never borrow each other's
    // text, also across chunk changes.
    const std::string names[] = {"a",
                                 "ab",
                                 "abc",
                                 "",
                                 "file0.dat",
                                 "file0.da",
                                 "file0.dat ",
                                 std::string(3000, 'x'),
                                 std::string(2999, 'x')};
    constexpr std::size_t kCount = std::size(names);
    FolderRef root = buildOnWorker(0, "");
    std::thread worker([&] {
        for (std::size_t i = 0; i < 150'000; ++i) {
            FileSystemItem::initWithPathSize(names[(i * 7 + i / 5) % kCount], root.get(), 0, 0,
                                             false, false);
        }
    });
    worker.join();
    for (std::size_t i = 0; i < root->numberOfChildren(); ++i) {
        ASSERT_EQ(root->childAtIndex(i)->name(), names[(i * 7 + i / 5) % kCount]) << i;
    }
}

}  // namespace
}  // namespace korvex
