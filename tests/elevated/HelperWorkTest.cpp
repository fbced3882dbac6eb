#include "cleanup/elevated/helper/RootRemoval.h"
#include "cleanup/elevated/helper/RootTrash.h"
#include "removers/RemoverTestSupport.h"
#include "support/ElevatedTestSupport.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>

#include <filesystem>

namespace korvex::elevated {
namespace {

namespace fs = std::filesystem;
using test::existsNoFollow;
using test::kNobody;

TargetItem collected(const std::string& path) {
    struct stat info {};
    ::lstat(path.c_str(), &info);
    return {path, info.st_dev, info.st_ino};
}

bool setImmutable(const std::string& path, bool on) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK);
    long flags = 0;
    bool done = fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
    done = done && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    if (fd >= 0) {
        ::close(fd);
    }
    return done;
}

bool isImmutable(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK);
    long flags = 0;
    const bool read = fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (fd >= 0) {
        ::close(fd);
    }
    return read && (flags & FS_IMMUTABLE_FL) != 0;
}

// The helper's work called directly, as root, for the user "nobody" whose
// home lies in the tree; items on a volume go to that volume's Trash.
class HelperWork : public ::testing::Test {
  protected:
    HelperWork() { ::chown(tree.folder("home").c_str(), kNobody, kNobody); }

    RootTrash trash() const { return RootTrash(tree.path("home/.local/share/Trash"), nobody); }

    test::TempTree tree;
    Requester nobody{kNobody, kNobody};
};

TEST_F(HelperWork, AnItemOnAnotherVolumeGoesToItsOwnTrashWithARelativePath) {
    test::ScopedMount volume(tree.folder("volume"));
    if (!volume.mounted()) {
        GTEST_SKIP() << "no rights to mount a file system for the test";
    }
    const std::string item = tree.file("volume/dir/item", 4);
    EXPECT_EQ(trash().trash(collected(item)), ItemOutcome{});

    const std::string own = tree.path("volume/.Trash-65534");
    EXPECT_TRUE(existsNoFollow(own + "/files/item"));
    EXPECT_NE(test::readFile(own + "/info/item.trashinfo").find("\nPath=dir/item\n"),
              std::string::npos);
    for (const std::string& folder : {own, own + "/files", own + "/info"}) {
        struct stat info {};
        ::lstat(folder.c_str(), &info);
        EXPECT_EQ(info.st_uid, kNobody) << folder;
        EXPECT_EQ(info.st_mode & 07777, 0700u) << folder;
    }
    EXPECT_FALSE(existsNoFollow(tree.path("home/.local/share/Trash/files/item")));
}

TEST_F(HelperWork, ASharedVolumeTrashIsUsedOnlyWhenItIsAStickyFolderAndNotALink) {
    test::ScopedMount volume(tree.folder("volume"));
    if (!volume.mounted()) {
        GTEST_SKIP() << "no rights to mount a file system for the test";
    }
    // A link to a sticky folder is not the shared Trash.
    const std::string elsewhere = tree.folder("volume/elsewhere");
    ::chmod(elsewhere.c_str(), 01777);
    fs::create_symlink("elsewhere", tree.path("volume/.Trash"));
    EXPECT_EQ(trash().trash(collected(tree.file("volume/a", 1))), ItemOutcome{});
    EXPECT_TRUE(existsNoFollow(tree.path("volume/.Trash-65534/files/a")));
    EXPECT_TRUE(fs::is_empty(elsewhere));

    fs::remove(tree.path("volume/.Trash"));
    const std::string shared = tree.folder("volume/.Trash");
    ::chmod(shared.c_str(), 01777);
    EXPECT_EQ(trash().trash(collected(tree.file("volume/a", 1))), ItemOutcome{});
    EXPECT_TRUE(existsNoFollow(shared + "/65534/files/a"));
    EXPECT_EQ(test::ownerOf(shared + "/65534"), kNobody);
}

TEST_F(HelperWork, ATakenTrashNameIsNeverReplaced) {
    const std::string first = tree.file("one/report.txt", 1);
    const std::string second = tree.file("two/report.txt", 2);
    RootTrash bin = trash();
    EXPECT_EQ(bin.trash(collected(first)), ItemOutcome{});
    EXPECT_EQ(bin.trash(collected(second)), ItemOutcome{});
    const std::string files = tree.path("home/.local/share/Trash/files/");
    EXPECT_EQ(fs::file_size(files + "report.txt"), 1u);
    EXPECT_EQ(fs::file_size(files + "report 1.txt"), 2u);
}

TEST_F(HelperWork, ALockedItemInALockedFolderIsRemovedAndTheFolderStaysLocked) {
    const std::string folder = tree.folder("locked");
    const std::string item = tree.file("locked/item", 3);
    const std::string sibling = tree.file("locked/sibling", 3);
    if (!setImmutable(item, true) || !setImmutable(folder, true)) {
        setImmutable(item, false);
        GTEST_SKIP() << "the file system keeps no immutable attribute";
    }
    const ItemOutcome outcome = removePermanently(collected(item), [] { return false; });
    const bool stillLocked = isImmutable(folder);
    setImmutable(folder, false);

    EXPECT_EQ(outcome, ItemOutcome{});
    EXPECT_FALSE(existsNoFollow(item));
    EXPECT_TRUE(existsNoFollow(sibling));
    EXPECT_TRUE(stillLocked);
}

TEST_F(HelperWork, ALockedItemThatCouldNotBeMovedStaysLocked) {
    const std::string item = tree.file("item", 3);
    if (!setImmutable(item, true)) {
        GTEST_SKIP() << "the file system keeps no immutable attribute";
    }
    // A home Trash of another user's: the move is refused.
    const std::string other = tree.folder("home/.local/share/Trash");
    ::chown(other.c_str(), 4242, 4242);
    ::chown(tree.path("home/.local").c_str(), kNobody, kNobody);
    ::chown(tree.path("home/.local/share").c_str(), kNobody, kNobody);
    const ItemOutcome outcome = trash().trash(collected(item));
    const bool stillLocked = isImmutable(item);
    setImmutable(item, false);
    EXPECT_EQ(outcome.error, EPERM);
    EXPECT_TRUE(existsNoFollow(item));
    EXPECT_TRUE(stillLocked);
}

TEST_F(HelperWork, APermanentRemovalNeverEntersAFileSystemMountedBelowTheItem) {
    const std::string item = tree.folder("item");
    tree.file("item/own", 1);
    test::ScopedMount inner(tree.folder("item/mounted"));
    if (!inner.mounted()) {
        GTEST_SKIP() << "no rights to mount a file system for the test";
    }
    const std::string kept = tree.file("item/mounted/kept", 1);
    const ItemOutcome outcome = removePermanently(collected(item), [] { return false; });
    EXPECT_EQ(outcome.error, EXDEV);
    EXPECT_TRUE(existsNoFollow(kept));
    EXPECT_FALSE(existsNoFollow(tree.path("item/own")));
}

}  // namespace
}  // namespace korvex::elevated
