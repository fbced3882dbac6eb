#include "platform/fs/FileTransfer.h"
#include "platform/trash/FreedesktopTrash.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

namespace korvex::platform {
namespace {

// A 1 MB tmpfs below the temporary tree: another file system, small enough to fill.
class CrossVolumeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        volume = tree.folder("vol");
        if (::mount("tmpfs", volume.c_str(), "tmpfs", 0, "size=1m") != 0) {
            GTEST_SKIP() << "cannot mount a tmpfs here: " << std::strerror(errno);
        }
        mounted = true;
    }
    void TearDown() override {
        if (mounted) {
            ::umount2(volume.c_str(), MNT_DETACH);
        }
    }
    test::TempTree tree;
    std::string volume;
    bool mounted = false;
};

TEST_F(CrossVolumeTest, MoveKeepsModeAndTimesAndRemovesSource) {
    const std::string file = tree.file("src/f", 3000);
    ASSERT_EQ(::chmod(tree.path("src").c_str(), 0751), 0);
    ASSERT_EQ(::symlink("f", tree.path("src/l").c_str()), 0);
    EXPECT_FALSE(moveItem(tree.path("src"), volume + "/src"));
    struct stat info {};
    EXPECT_NE(::lstat(tree.path("src").c_str(), &info), 0);
    ASSERT_EQ(::lstat((volume + "/src").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0751u);
    ASSERT_EQ(::lstat((volume + "/src/l").c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
}

TEST_F(CrossVolumeTest, FullVolumeLeavesSourceAndNoPartialCopy) {
    tree.file("big/data", 3 * 1024 * 1024);
    auto failed = moveItem(tree.path("big"), volume + "/big");
    ASSERT_TRUE(failed);
    EXPECT_EQ(failed->errnoValue, ENOSPC);
    EXPECT_NE(failed->message.find(std::strerror(ENOSPC)), std::string::npos);
    EXPECT_EQ(::access(tree.path("big/data").c_str(), F_OK), 0);
    EXPECT_NE(::access((volume + "/big").c_str(), F_OK), 0);
}

TEST_F(CrossVolumeTest, VolumeTrashIsStickySharedOrPerUser) {
    FreedesktopTrash trash(tree.path("data/Trash"), ::getuid());
    const std::string uid = std::to_string(::getuid());
    tree.file("vol/sub/a", 10);
    EXPECT_EQ(trash.trashFolderFor(volume + "/sub/a"), volume + "/.Trash-" + uid);
    ASSERT_EQ(::mkdir((volume + "/.Trash").c_str(), 01777), 0);
    ASSERT_EQ(::chmod((volume + "/.Trash").c_str(), 01777), 0);
    auto result = trash.trashItem(volume + "/sub/a");
    ASSERT_TRUE(std::holds_alternative<FreedesktopTrash::Trashed>(result));
    EXPECT_EQ(std::get<FreedesktopTrash::Trashed>(result).filesPath,
              volume + "/.Trash/" + uid + "/files/a");
}

}  // namespace
}  // namespace korvex::platform
