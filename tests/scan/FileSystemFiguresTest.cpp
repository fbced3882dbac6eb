// Scan figures held to what df and du say, on real file systems made for
// the tests: loop-mounted ext4 and btrfs images, hard links, trash folders,
// linked and relative scan roots and the purgeable cache.

#include "platform/mounts/MountTable.h"
#include "scan/format/ItemNotes.h"
#include "scan/model/BlockingScan.h"
#include "scan/model/PurgeableSpaceMeasure.h"
#include "scan/targets/VolumeGrouping.h"
#include "scan/tree/VolumeSystemItem.h"
#include "support/DiskUsage.h"
#include "support/ScanFixture.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

namespace korvex {
namespace {

using test::dfUsed;
using test::duBytes;
using test::TempTree;
namespace fs = std::filesystem;

bool hasTool(const std::string& name) {
    return std::system(("command -v " + name + " >/dev/null 2>&1").c_str()) == 0;
}

// A file system image made with `mkfs` and loop-mounted in a temporary
// folder for one test; `skipReason` tells why it could not be.
class LoopVolume {
  public:
    LoopVolume(const TempTree& tree, const std::string& mkfs, const std::string& options,
               int megabytes) {
        if (::geteuid() != 0) {
            skipReason = "loop mounts need root";
            return;
        }
        if (!hasTool(mkfs) || !hasTool("losetup")) {
            skipReason = mkfs + " or losetup is not installed";
            return;
        }
        if (!fs::exists("/dev/loop-control")) {
            skipReason = "no loop devices on this machine";
            return;
        }
        std::string image = tree.path("image");
        path = tree.folder("volume");
        std::string make = "truncate -s " + std::to_string(megabytes) + "M '" + image + "' && " +
                           mkfs + " " + options + " '" + image + "' >/dev/null 2>&1";
        if (std::system(make.c_str()) != 0) {
            skipReason = mkfs + " failed";
            return;
        }
        if (std::system(("mount -o loop '" + image + "' '" + path + "' 2>/dev/null").c_str()) !=
            0) {
            skipReason = "the image could not be loop-mounted";
            return;
        }
        mounted = true;
    }
    ~LoopVolume() {
        if (mounted) {
            ::umount2(path.c_str(), MNT_DETACH);  // the loop device goes with it (autoclear)
        }
    }
    LoopVolume(const LoopVolume&) = delete;
    LoopVolume& operator=(const LoopVolume&) = delete;

    // Writes `bytes` of real data, making the folders on the way.
    void write(const std::string& relative, std::size_t bytes) const {
        fs::path file = fs::path(path) / relative;
        fs::create_directories(file.parent_path());
        std::string command =
            "head -c " + std::to_string(bytes) + " /dev/urandom > '" + file.string() + "' && sync";
        ASSERT_EQ(std::system(command.c_str()), 0);
    }

    std::string path;
    std::string skipReason;
    bool mounted = false;
};

#define SKIP_UNLESS_MOUNTED(volume)          \
    if (!(volume).mounted) {                 \
        GTEST_SKIP() << (volume).skipReason; \
    }

const FileSystemItem* specialChild(const FolderSystemItem& root,
                                   bool (FileSystemItem::*kind)() const) {
    for (const ItemRef& child : root.childrenArray()) {
        if (((*child).*kind)()) {
            return child.get();
        }
    }
    return nullptr;
}

TEST(VolumeFigures, Ext4ReserveIsShownApartAndNeverAsInaccessible) {
    TempTree tree;
    LoopVolume volume(tree, "mkfs.ext4", "-q -F -m 5", 64);
    SKIP_UNLESS_MOUNTED(volume);
    volume.write("data/one.bin", 3'000'000);
    volume.write("data/two.bin", 1'000'000);

    CModel model;
    std::shared_ptr<VolumeItem> item = model.addVolumeAtPath(volume.path);
    ASSERT_NE(item, nullptr);
    const std::int64_t capacity = item->getsize();
    // mkfs kept 5 % of the blocks for root (ext4 keeps a little more for
    // itself): neither used nor available.
    EXPECT_GE(item->getReservedSize(), capacity / 20);
    EXPECT_LT(item->getReservedSize(), capacity / 8);
    EXPECT_EQ(item->getOccSize(), dfUsed(volume.path));
    EXPECT_EQ(item->getOccSize() + item->getfsize() + item->getReservedSize(), capacity);
    EXPECT_GT(item->getnodescount(), 10);  // inodes in use, not the inode table's size

    BlockingScanResult result = runBlockingScan(model, volume.path, nullptr);
    ASSERT_TRUE(result.root->isVol());
    const auto& root = static_cast<const VolumeSystemItem&>(*result.root);
    const FileSystemItem* inaccessible = specialChild(root, &FileSystemItem::isInaccessible);
    // A full scan as root leaves only the file system's own metadata unseen:
    // far less than the reserve, which a capacity-minus-available rule showed.
    const std::int64_t unseen = inaccessible != nullptr ? inaccessible->gettotalsize() : 0;
    EXPECT_LT(unseen, item->getReservedSize() / 10);
    EXPECT_NEAR(static_cast<double>(root.gettotalsize()), static_cast<double>(dfUsed(volume.path)),
                dfUsed(volume.path) * 0.02);
}

TEST(VolumeFigures, BtrfsOnALoopDeviceIsALocalDiskImage) {
    TempTree tree;
    LoopVolume volume(tree, "mkfs.btrfs", "-q -f", 160);
    SKIP_UNLESS_MOUNTED(volume);
    std::optional<platform::MountEntry> mount =
        platform::mountForPath(platform::listMounts(), volume.path);
    ASSERT_TRUE(mount);
    EXPECT_EQ(mount->devMajor, 0u);  // btrfs numbers its own devices

    CModel model;
    std::shared_ptr<VolumeItem> item = model.addVolumeAtPath(volume.path);
    ASSERT_NE(item, nullptr);
    EXPECT_FALSE(item->isNetworkVol());
    EXPECT_EQ(item->DAVolumeKind, "btrfs");
    EXPECT_TRUE(item->mpBSDName.starts_with("loop")) << item->mpBSDName;
    EXPECT_EQ(getGroupNameForItem(*item), "Disk Images");
}

TEST(VolumeFigures, OnlyNetworkFileSystemTypesAreNetworkDisks) {
    EXPECT_TRUE(platform::isNetworkFileSystem("nfs4"));
    EXPECT_TRUE(platform::isNetworkFileSystem("fuse.sshfs"));
    EXPECT_FALSE(platform::isNetworkFileSystem("zfs"));
    EXPECT_FALSE(platform::isNetworkFileSystem("btrfs"));
    EXPECT_TRUE(platform::isOnDemandFileSystem("fuse.rclone"));
    EXPECT_FALSE(platform::isOnDemandFileSystem("nfs4"));
}

using ScanFigures = test::ScanFixture;

namespace {

// Every folder's total is its own blocks plus its children's totals: no folder
// kept a total counted before a size below it changed.
void expectTotalsAddUp(const FolderSystemItem& folder) {
    std::int64_t sum = folder.ownCountedSize();
    for (const ItemRef& child : folder.childrenArray()) {
        sum += child->gettotalsize();
        if (child->isDir() && !child->isPack()) {
            expectTotalsAddUp(static_cast<const FolderSystemItem&>(*child));
        }
    }
    EXPECT_EQ(folder.gettotalsize(), sum) << folder.fullPath();
}

}  // namespace

TEST_F(ScanFigures, HardLinksAcrossFoldersAreCountedOnceAtTheFirstPath) {
    std::string original = tree.file("b/original.bin", 1'000'000);
    tree.folder("a");
    tree.folder("c");
    fs::create_hard_link(original, tree.path("c/second.bin"));
    fs::create_hard_link(original, tree.path("a/third.bin"));
    tree.file("c/own.bin", 20'000);

    BlockingScanResult result = scan(tree.path());
    EXPECT_EQ(result.root->gettotalsize(), duBytes(tree.path()));
    // Whichever link the workers met first, the bytes moved to a/ afterwards.
    expectTotalsAddUp(*result.root);
    const std::int64_t blocks = duBytes(original);
    ItemRef first = result.root->getItemByFilePath(tree.path("a/third.bin"));
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->gettotalsize(), blocks);
    for (const char* other : {"b/original.bin", "c/second.bin"}) {
        ItemRef link = result.root->getItemByFilePath(tree.path(other));
        ASSERT_NE(link, nullptr);
        EXPECT_EQ(link->gettotalsize(), 0) << other;
        EXPECT_EQ(itemNote(*link), "Hard link: 3 links, counted once");
    }
    EXPECT_EQ(itemNote(*first), "Hard link: 3 links, counted once");
    EXPECT_EQ(removalNote(*first), "Other names keep this file: removing this one frees nothing");
    fs::remove(tree.path("c/second.bin"));
    fs::remove(tree.path("b/original.bin"));
    EXPECT_EQ(removalNote(*first), std::nullopt) << "the last name frees the blocks";
    // The biggest files list names the inode once, at the link that counts it.
    ASSERT_FALSE(biggest.files().empty());
    EXPECT_EQ(biggest.files().front(), first);
    EXPECT_EQ(std::count_if(biggest.files().begin(), biggest.files().end(),
                            [](const ItemRef& file) { return file->isHardLinked(); }),
              1);
}

TEST_F(ScanFigures, LinkedAndRelativeRootsScanTheFolderTheyName) {
    tree.file("real/sub/x.bin", 30'000);
    tree.file("real/y.bin", 5'000);
    fs::create_directory_symlink(tree.path("real"), tree.path("alias"));

    BlockingScanResult direct = scan(tree.path("real"));
    const std::int64_t total = direct.root->gettotalsize();
    ASSERT_EQ(total, duBytes(tree.path("real")));

    BlockingScanResult linked = scan(tree.path("alias"));
    EXPECT_EQ(linked.root->fullPath(), tree.path("real"));
    EXPECT_FALSE(linked.root->accessDenied());
    EXPECT_EQ(linked.root->gettotalsize(), total);
    EXPECT_EQ(linked.root->numberOfChildren(), direct.root->numberOfChildren());

    const fs::path before = fs::current_path();
    fs::current_path(tree.path("real/sub"));
    BlockingScanResult relative = scan("../../alias/./");
    fs::current_path(before);
    EXPECT_EQ(relative.root->fullPath(), tree.path("real"));
    EXPECT_EQ(relative.root->gettotalsize(), total);
}

TEST_F(ScanFigures, FreedesktopTrashFoldersAreFlagged) {
    tree.file(".Trash-1000/files/gone.txt", 2'000);
    tree.file(".Trash/1000/files/gone.txt", 2'000);
    tree.file("home/u/.local/share/Trash/files/gone.txt", 2'000);
    tree.file("home/u/Trash/kept.txt", 2'000);       // a folder named so by the user
    tree.file(".Trash-notanumber/kept.txt", 2'000);  // not a per-user trash

    BlockingScanResult result = scan(tree.path());
    auto node = [&](const std::string& relative) {
        ItemRef found = result.root->getItemByFilePath(tree.path(relative));
        EXPECT_NE(found, nullptr) << relative;
        return found;
    };
    EXPECT_TRUE(node(".Trash-1000")->isTrashFlag());
    EXPECT_TRUE(node(".Trash")->isTrashFlag());
    EXPECT_TRUE(node(".Trash/1000/files/gone.txt")->isTopTrashFlag());
    EXPECT_TRUE(node("home/u/.local/share/Trash")->isTrashFlag());
    EXPECT_TRUE(node("home/u/.local/share/Trash/files/gone.txt")->isTopTrashFlag());
    EXPECT_FALSE(node("home/u/Trash")->isTopTrashFlag());
    EXPECT_FALSE(node(".Trash-notanumber")->isTopTrashFlag());
    EXPECT_FALSE(node("home/u/.local/share")->isTopTrashFlag());
}

// Reports a fixed purgeable amount made of one folder's contents.
class FixedMeasure : public PurgeableSpaceMeasure {
  public:
    FixedMeasure(std::int64_t bytes, std::string folder)
        : mBytes(bytes), mFolder(std::move(folder)) {}
    void performWithCompletion(std::function<void()> completion) override {
        if (completion) {
            completion();
        }
    }
    std::int64_t purgeableSpaceValue() const override { return mBytes; }
    std::vector<std::string> measuredFolders() const override { return {mFolder}; }

  private:
    std::int64_t mBytes;
    std::string mFolder;
};

class PurgeableCache : public ::testing::Test {
  protected:
    void TearDown() override { PurgeableSpaceMeasure::setFactory(nullptr); }
    void measureAs(std::int64_t bytes, const std::string& folder) {
        PurgeableSpaceMeasure::setFactory([bytes, folder](const std::string&) {
            return std::make_shared<FixedMeasure>(bytes, folder);
        });
    }
    const FileSystemItem* purgeableNode(const FolderRef& root) {
        return specialChild(*root, &FileSystemItem::isPurgeable);
    }
    TempTree tree;
};

TEST_F(PurgeableCache, CacheInsideTheScanIsMarkedAndNotCountedAgain) {
    LoopVolume volume(tree, "mkfs.ext4", "-q -F -m 0", 32);
    SKIP_UNLESS_MOUNTED(volume);
    volume.write("home/.cache/thumbs/a.png", 400'000);
    volume.write("home/.cache/b.bin", 100'000);
    const std::string cache = volume.path + "/home/.cache";
    const std::int64_t contents = duBytes(cache) - 4096;  // without the folder's own block
    const std::int64_t unseen = 2'000'000;  // caches on this volume the scan cannot see
    measureAs(contents + unseen, cache);

    CModel model;
    ASSERT_NE(model.addVolumeAtPath(volume.path), nullptr);
    BlockingScanResult result = runBlockingScan(model, volume.path, nullptr);
    ItemRef cacheNode = result.root->getItemByFilePath(cache);
    ASSERT_NE(cacheNode, nullptr);
    EXPECT_TRUE(cacheNode->isPurgeableCache());
    const FileSystemItem* extra = purgeableNode(result.root);
    ASSERT_NE(extra, nullptr);
    EXPECT_NEAR(static_cast<double>(extra->gettotalsize()), static_cast<double>(unseen), 4096);
    EXPECT_EQ(itemNote(*cacheNode), "Purgeable: programs rebuild this cache when needed");
}

TEST_F(PurgeableCache, NoExtraNodeWhenTheScanSawAllOfIt) {
    LoopVolume volume(tree, "mkfs.ext4", "-q -F -m 0", 32);
    SKIP_UNLESS_MOUNTED(volume);
    volume.write("cache/a.bin", 300'000);
    const std::string cache = volume.path + "/cache";
    measureAs(duBytes(cache) - 4096, cache);

    CModel model;
    ASSERT_NE(model.addVolumeAtPath(volume.path), nullptr);
    BlockingScanResult result = runBlockingScan(model, volume.path, nullptr);
    EXPECT_EQ(purgeableNode(result.root), nullptr);
    EXPECT_TRUE(result.root->getItemByFilePath(cache)->isPurgeableCache());
}

}  // namespace
}  // namespace korvex
