#include "cleanup/removers/RefusedRemovalItem.h"
#include "removers/RemoverTestSupport.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace korvex {
namespace {

using Causes = std::set<RemoveErrorType>;

// Sets or clears a file attribute; false where the file system or the
// process's rights do not allow it.
bool chattr(const std::string& change, const std::string& path) {
    const std::string command = "chattr " + change + " '" + path + "' 2>/dev/null";
    return std::system(command.c_str()) == 0;
}

TEST(GroupVerdict, FirstMatchingRuleWins) {
    using T = RemoveErrorType;
    EXPECT_EQ(RefusedRemovalItem::groupForErrorTypes({}), GroupType::Unknown);
    EXPECT_EQ(RefusedRemovalItem::groupForErrorTypes(
                  {T::ReadOnlyDisk, T::ReadOnlyNTFSDisk, T::RemoteDisk, T::FileLocked}),
              GroupType::ReadOnlyNTFSDisk);
    EXPECT_EQ(RefusedRemovalItem::groupForErrorTypes({T::ReadOnlyNTFSDisk}), GroupType::Unknown);
    EXPECT_EQ(RefusedRemovalItem::groupForErrorTypes({T::ReadOnlyDisk, T::DiskHasntTrash}),
              GroupType::ReadOnlyDisk);
    EXPECT_EQ(RefusedRemovalItem::groupForErrorTypes({T::RemoteDisk, T::FolderWithHardLink}),
              GroupType::NetworkDisk);
    EXPECT_EQ(RefusedRemovalItem::groupForErrorTypes({T::FolderWithHardLink, T::FileLocked}),
              GroupType::HardLinkFolder);
    EXPECT_EQ(RefusedRemovalItem::groupForErrorTypes({T::ParentFolderLocked, T::DiskHasntTrash}),
              GroupType::LockedFiles);
    EXPECT_EQ(RefusedRemovalItem::groupForErrorTypes(
                  {T::HaventRightToDelete, T::ParentFolderHasReadOnlyAccess}),
              GroupType::ReadOnlyAccess);
    EXPECT_EQ(RefusedRemovalItem::groupForErrorTypes({T::HaventRightToDelete}),
              GroupType::HaventRightToDelete);
}

TEST(GroupVerdict, RetriesToTheTrashOnlyForPermissionAndLockProblems) {
    struct Row {
        GroupType group;
        bool toTrash;
        bool permanently;
    };
    for (const Row& row :
         {Row{GroupType::ReadOnlyAccess, true, true}, Row{GroupType::LockedFiles, true, true},
          Row{GroupType::HaventRightToDelete, true, true},
          Row{GroupType::HardLinkFolder, false, true}, Row{GroupType::NetworkDisk, false, true},
          Row{GroupType::Unknown, false, true}, Row{GroupType::ReadOnlyNTFSDisk, false, false},
          Row{GroupType::ReadOnlyDisk, false, false}, Row{GroupType::NotRemoved, false, false}}) {
        EXPECT_EQ(RefusedRemovalItem::isCanBeRemovedPermanently(row.group, false), row.toTrash)
            << static_cast<int>(row.group);
        EXPECT_EQ(RefusedRemovalItem::isCanBeRemovedPermanently(row.group, true), row.permanently)
            << static_cast<int>(row.group);
    }
}

TEST(Classification, VanishedOrMissingPathsHaveNoCausesAndAreNotRetriedToTheTrash) {
    test::TempTree tree;
    for (const RefusedRemovalItem& item :
         {RefusedRemovalItem(tree.path("vanished")), RefusedRemovalItem(std::nullopt)}) {
        EXPECT_TRUE(item.errorTypes().empty());
        EXPECT_EQ(item.removeGroupType(), GroupType::Unknown);
        EXPECT_FALSE(item.isCanBeRemovedPermanently(false));
    }
}

TEST(Classification, AnOrdinaryFileOfOneselfHasNoCause) {
    test::TempTree tree;
    const RefusedRemovalItem item(tree.file("plain", 10));
    EXPECT_TRUE(item.errorTypes().empty());
    EXPECT_EQ(item.path(), tree.path("plain"));
}

TEST(Classification, ImmutableOrAppendOnlyItemsAndParentsAreLocked) {
    test::TempTree tree;
    const std::string file = tree.file("frozen", 10);
    const std::string folder = tree.folder("append-only");
    const std::string inside = tree.file("append-only/child", 10);
    if (!chattr("+i", file) || !chattr("+a", folder)) {
        chattr("-i", file);
        GTEST_SKIP() << "file attributes cannot be set here";
    }
    const RefusedRemovalItem locked(file);
    const RefusedRemovalItem inLockedFolder(inside);
    chattr("-i", file);
    chattr("-a", folder);

    EXPECT_EQ(locked.errorTypes(), Causes{RemoveErrorType::FileLocked});
    EXPECT_EQ(locked.removeGroupType(), GroupType::LockedFiles);
    EXPECT_TRUE(locked.isCanBeRemovedPermanently(false));
    EXPECT_EQ(inLockedFolder.errorTypes(), Causes{RemoveErrorType::ParentFolderLocked});
    EXPECT_EQ(inLockedFolder.removeGroupType(), GroupType::LockedFiles);
}

// Items on a small file system of their own, mounted in the tree.
class OwnVolume : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!volume.mounted()) {
            GTEST_SKIP() << "no rights to mount a file system for the test";
        }
        std::ofstream(tree.path("volume/file")) << "x";
    }
    test::TempTree tree;
    test::ScopedMount volume{tree.folder("volume")};
};

TEST_F(OwnVolume, FilesOnAReadOnlyMountAreNeverRetried) {
    std::filesystem::create_directory(tree.path("volume/.Trash-" + std::to_string(::getuid())));
    volume.remountReadOnly();
    const RefusedRemovalItem item(tree.path("volume/file"));
    EXPECT_TRUE(item.errorTypes().count(RemoveErrorType::ReadOnlyDisk));
    EXPECT_FALSE(item.errorTypes().count(RemoveErrorType::ReadOnlyNTFSDisk));
    // Writes refused by the read-only volume are not permission problems.
    EXPECT_FALSE(item.errorTypes().count(RemoveErrorType::ParentFolderHasReadOnlyAccess));
    EXPECT_EQ(item.removeGroupType(), GroupType::ReadOnlyDisk);
    EXPECT_FALSE(item.isCanBeRemovedPermanently(false));
    EXPECT_FALSE(item.isCanBeRemovedPermanently(true));
}

TEST_F(OwnVolume, AVolumeWhoseTrashCannotBeMadeIsARetriedAccessProblem) {
    EXPECT_TRUE(RefusedRemovalItem(tree.path("volume/file")).errorTypes().empty());

    // A plain file where the user's Trash folder would go blocks it.
    std::ofstream(tree.path("volume/.Trash-" + std::to_string(::getuid()))) << "";
    const RefusedRemovalItem item(tree.path("volume/file"));
    EXPECT_EQ(item.errorTypes(), Causes{RemoveErrorType::DiskHasntTrash});
    EXPECT_EQ(item.removeGroupType(), GroupType::ReadOnlyAccess);
    EXPECT_TRUE(item.isCanBeRemovedPermanently(false));
}

class OtherUser : public ::testing::Test {
  protected:
    void SetUp() override {
        if (::geteuid() != 0) {
            GTEST_SKIP() << "needs to run as root to classify as another user";
        }
        std::filesystem::permissions(tree.root(), std::filesystem::perms::all);
    }
    test::TempTree tree;
};

TEST_F(OtherUser, AFolderOfSomeoneElseRefusesWritesAndDeletion) {
    const std::string folder = tree.folder("theirs");
    const std::string file = tree.file("theirs/file", 10);
    std::filesystem::permissions(
        folder, std::filesystem::perms::owner_all | std::filesystem::perms::group_read |
                    std::filesystem::perms::group_exec | std::filesystem::perms::others_read |
                    std::filesystem::perms::others_exec);
    test::AsNobody nobody;
    ASSERT_TRUE(nobody.switched());
    const RefusedRemovalItem inFolder(file);
    const RefusedRemovalItem theFolder(folder);
    EXPECT_EQ(inFolder.errorTypes(), (Causes{RemoveErrorType::ParentFolderHasReadOnlyAccess,
                                             RemoveErrorType::HaventRightToDelete}));
    EXPECT_EQ(inFolder.removeGroupType(), GroupType::ReadOnlyAccess);
    EXPECT_EQ(theFolder.errorTypes(), Causes{RemoveErrorType::FolderHasReadOnlyAccess});
    EXPECT_TRUE(theFolder.isCanBeRemovedPermanently(false));
}

TEST_F(OtherUser, TheStickyBitKeepsOthersFilesInAWritableFolder) {
    const std::string shared = tree.folder("shared");
    const std::string file = tree.file("shared/root-owned", 10);
    std::filesystem::permissions(shared,
                                 std::filesystem::perms::all | std::filesystem::perms::sticky_bit);
    test::AsNobody nobody;
    ASSERT_TRUE(nobody.switched());
    const RefusedRemovalItem item(file);
    EXPECT_EQ(item.errorTypes(), Causes{RemoveErrorType::HaventRightToDelete});
    EXPECT_EQ(item.removeGroupType(), GroupType::HaventRightToDelete);
    EXPECT_TRUE(item.isCanBeRemovedPermanently(false));
}

}  // namespace
}  // namespace korvex
