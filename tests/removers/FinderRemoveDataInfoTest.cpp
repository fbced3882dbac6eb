#include "cleanup/removers/FinderRemoveDataInfo.h"
#include "removers/RemoverTestSupport.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace korvex {
namespace {

namespace fs = std::filesystem;

TEST(RemoveDataInfo, FollowsTheFileThroughRenamesUntilItIsDeleted) {
    test::TempTree tree;
    const std::string start = tree.file("old name", 10);
    auto info = FinderRemoveDataInfo::forItem(test::failedRemoveItem(start));
    ASSERT_TRUE(info);
    EXPECT_EQ(info->path(), start);
    EXPECT_EQ(info->currentPath(), start);
    EXPECT_FALSE(info->hasLeftStartingPath());

    const std::string moved = tree.folder("elsewhere") + "/new \"name\"\n";
    fs::rename(start, moved);
    EXPECT_EQ(info->currentPath(), moved);
    EXPECT_TRUE(info->hasLeftStartingPath());
    EXPECT_EQ(info->path(), start);

    fs::remove(moved);
    EXPECT_EQ(info->currentPath(), std::nullopt);
}

TEST(RemoveDataInfo, ANameEndingLikeTheKernelsDeletedMarkIsStillAName) {
    test::TempTree tree;
    const std::string path = tree.file("x (deleted)", 1);
    auto info = FinderRemoveDataInfo::forItem(test::failedRemoveItem(path));
    ASSERT_TRUE(info);
    EXPECT_EQ(info->currentPath(), path);
    fs::remove(path);
    EXPECT_EQ(info->currentPath(), std::nullopt);
}

TEST(RemoveDataInfo, ANewEntryAtTheStartingPathIsNotTheItem) {
    test::TempTree tree;
    const std::string path = tree.file("saved", 1);
    auto info = FinderRemoveDataInfo::forItem(test::failedRemoveItem(path));
    ASSERT_TRUE(info);
    fs::remove(path);
    std::ofstream(path) << "saved again";
    EXPECT_TRUE(info->hasLeftStartingPath());
    EXPECT_EQ(info->currentPath(), std::nullopt);
}

TEST(RemoveDataInfo, ALinkIsFollowedAsItselfNotItsTarget) {
    test::TempTree tree;
    const std::string target = tree.file("target", 1);
    const std::string link = tree.path("link");
    fs::create_symlink(target, link);
    auto info = FinderRemoveDataInfo::forItem(test::failedRemoveItem(link));
    ASSERT_TRUE(info);
    fs::rename(link, tree.path("moved link"));
    EXPECT_EQ(info->currentPath(), tree.path("moved link"));
    EXPECT_TRUE(fs::exists(target));
}

TEST(RemoveDataInfo, NoneForAVanishedOrPathlessItem) {
    test::TempTree tree;
    EXPECT_FALSE(FinderRemoveDataInfo::forItem(test::failedRemoveItem(tree.path("gone"))));
    EXPECT_FALSE(FinderRemoveDataInfo::forItem(nullptr));
}

TEST(RemoveDataInfo, APathThatCannotBeExaminedHasNotBeenLeft) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "needs to run as root to look as another user";
    }
    test::TempTree tree;
    fs::permissions(tree.root(), fs::perms::all);
    const std::string path = tree.file("closed/item", 1);
    auto info = FinderRemoveDataInfo::forItem(test::failedRemoveItem(path));
    ASSERT_TRUE(info);
    fs::permissions(tree.path("closed"), fs::perms::owner_all);
    test::AsNobody nobody;
    ASSERT_TRUE(nobody.switched());
    EXPECT_FALSE(info->hasLeftStartingPath());
}

}  // namespace
}  // namespace korvex
