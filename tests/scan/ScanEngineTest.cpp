#include "platform/dispatch/MainQueue.h"
#include "platform/dispatch/NotificationCenter.h"
#include "scan/format/ItemNotes.h"
#include "scan/model/BlockingScan.h"
#include "scan/model/ScanNotifications.h"
#include "scan/tree/VolumeSystemItem.h"
#include "scan/walker/ScanBiggestFiles.h"
#include "support/DiskUsage.h"
#include "support/ScanFixture.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace korvex {
namespace {

using test::duBytes;
using test::TempTree;
namespace fs = std::filesystem;

// Every folder's cached size equals the sum of its children, and children
// are in size order.
void expectConsistentAndSorted(FileSystemItem& node) {
    if (!node.isDir() || node.isPack()) {
        return;
    }
    auto& folder = static_cast<FolderSystemItem&>(node);
    std::int64_t sum = 0;
    std::int64_t previous = INT64_MAX;
    for (const ItemRef& child : folder.childrenArray()) {
        EXPECT_EQ(child->getParent(), &folder) << child->fullPath();
        sum += child->gettotalsize();
        if (!child->isSpecial()) {
            EXPECT_LE(child->gettotalsize(), previous) << child->fullPath();
            previous = child->gettotalsize();
        }
        expectConsistentAndSorted(*child);
    }
    EXPECT_EQ(folder.gettotalsize(), sum + folder.ownCountedSize()) << folder.fullPath();
}

using ScanEngine = test::ScanFixture;

TEST_F(ScanEngine, TotalIsWhatDuCountsFoldersIncluded) {
    tree.file("a.bin", 100'000);
    tree.file("sub/b.bin", 5'000);
    tree.file("sub/deeper/c.bin", 70'000);
    tree.file(".hidden/d.bin", 9'000);
    tree.file("sub/Tool.app/Contents/MacOS/tool", 30'000);
    tree.file("empty.txt", 0);
    // A wide folder whose own entry table takes several blocks.
    for (int i = 0; i < 400; ++i) {
        tree.folder("wide/folder-with-a-long-name-" + std::to_string(i));
    }
    BlockingScanResult result = scan(tree.path());
    ASSERT_FALSE(result.cancelled);
    EXPECT_EQ(result.root->gettotalsize(), duBytes(tree.path()));
    ItemRef wide = result.root->getItemByFilePath(tree.path("wide"));
    ASSERT_NE(wide, nullptr);
    EXPECT_EQ(wide->gettotalsize(), duBytes(tree.path("wide")));
    EXPECT_EQ(result.root->fullPath(), tree.path());
    expectConsistentAndSorted(*result.root);
    EXPECT_EQ(model.lastEntriesRead(), 413);  // every entry below the root, folders too
}

TEST_F(ScanEngine, PackagesAreSingleNodesSizedByTheirContent) {
    tree.file("Tool.AppDir/usr/share/big", 40'000);
    tree.file("Tool.AppDir/AppRun", 3'000);
    fs::create_symlink("AppRun", tree.path("Tool.AppDir/link"));
    tree.file("gst.bundle/inner", 3'000);  // an ordinary folder on Linux
    BlockingScanResult result = scan(tree.path());
    ItemRef package = result.root->getItemByFilePath(tree.path("Tool.AppDir"));
    ASSERT_NE(package, nullptr);
    EXPECT_TRUE(package->isPack());
    EXPECT_EQ(package->numberOfChildren(), 0u);
    EXPECT_EQ(package->gettotalsize(), duBytes(tree.path("Tool.AppDir")));
    EXPECT_EQ(result.root->getItemByFilePath(tree.path("Tool.AppDir/usr")), nullptr);
    ItemRef bundle = result.root->getItemByFilePath(tree.path("gst.bundle"));
    ASSERT_NE(bundle, nullptr);
    EXPECT_FALSE(bundle->isPack());
    EXPECT_EQ(bundle->numberOfChildren(), 1u);
    ASSERT_FALSE(biggest.files().empty());
    EXPECT_EQ(biggest.files().front(), package);  // packages count as files
}

TEST_F(ScanEngine, LinksSocketsAndPipesAddNoNode) {
    tree.file("real", 8'000);
    fs::create_symlink("real", tree.path("link"));
    fs::create_directory_symlink("/usr", tree.path("dirlink"));
    ASSERT_EQ(::mkfifo(tree.path("fifo").c_str(), 0644), 0);
    int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::string socketPath = tree.path("sock");
    ASSERT_LT(socketPath.size(), sizeof(address.sun_path));
    std::strcpy(address.sun_path, socketPath.c_str());
    ASSERT_EQ(::bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);

    BlockingScanResult result = scan(tree.path());
    ::close(sock);
    ASSERT_EQ(result.root->numberOfChildren(), 1u);
    EXPECT_EQ(result.root->childAtIndex(0)->name(), "real");
    EXPECT_EQ(result.root->gettotalsize(), duBytes(tree.path()));
}

TEST_F(ScanEngine, FlagsFollowTheEntries) {
    tree.file(".dotfile", 4'000);
    std::string sparse = tree.file("sparse.img", 8'000);
    ASSERT_EQ(::truncate(sparse.c_str(), 100'000'000), 0);  // logical 100 MB, 8 kB allocated
    tree.file("zero", 0);
    BlockingScanResult result = scan(tree.path());
    ItemRef dot = result.root->getItemByFilePath(tree.path(".dotfile"));
    ASSERT_NE(dot, nullptr);
    EXPECT_TRUE(dot->isHiddenFlag());
    EXPECT_FALSE(dot->isCloudStored());
    // A sparse file on a local disk is no remote stub: it takes what it allocated.
    ItemRef sparseNode = result.root->getItemByFilePath(sparse);
    EXPECT_FALSE(sparseNode->isCloudStored());
    EXPECT_EQ(sparseNode->gettotalsize(), duBytes(sparse));
    EXPECT_GT(sparseNode->gettotalsize(), 0);
    EXPECT_FALSE(result.root->getItemByFilePath(tree.path("zero"))->isCloudStored());
}

TEST_F(ScanEngine, OddNamesAndWideFoldersLoseNothing) {
    const std::string odd[] = {"new\nline", "quote\"'s", std::string("bad\xff\xfe"), "$(x) `y`",
                               std::string(255, 'L')};
    for (const std::string& name : odd) {
        tree.file(name + "/" + name, 1'000);
    }
    constexpr int kWide = 100'000;
    tree.folder("wide");
    for (int i = 0; i < kWide; ++i) {
        int fd = ::open(tree.path("wide/f" + std::to_string(i)).c_str(), O_CREAT | O_WRONLY, 0644);
        ASSERT_GE(fd, 0);
        ::close(fd);
    }
    BlockingScanResult result = scan(tree.path());
    for (const std::string& name : odd) {
        EXPECT_NE(result.root->getItemByFilePath(tree.path(name + "/" + name)), nullptr);
    }
    ItemRef wide = result.root->getItemByFilePath(tree.path("wide"));
    ASSERT_NE(wide, nullptr);
    EXPECT_EQ(wide->numberOfChildren(), static_cast<std::size_t>(kWide));
    EXPECT_EQ(result.root->gettotalsize(), duBytes(tree.path()));
}

TEST_F(ScanEngine, TreesDeeperThanAPathCanSayAreScannedWhole) {
    // Folders are made relative to an open folder: the full path outgrows PATH_MAX.
    int fd = ::open(tree.path().c_str(), O_RDONLY | O_DIRECTORY);
    const std::string level(200, 'd');
    constexpr int kDepth = 30;  // about 6,000 bytes of path
    for (int i = 0; i < kDepth; ++i) {
        ASSERT_EQ(::mkdirat(fd, level.c_str(), 0755), 0);
        int next = ::openat(fd, level.c_str(), O_RDONLY | O_DIRECTORY);
        ::close(fd);
        fd = next;
    }
    int file = ::openat(fd, "bottom", O_CREAT | O_WRONLY, 0644);
    ASSERT_EQ(::write(file, std::string(5000, 'x').data(), 5000), 5000);
    ::close(file);
    ::close(fd);

    BlockingScanResult result = scan(tree.path());
    EXPECT_TRUE(model.lastDeniedFolders().empty());
    EXPECT_EQ(result.root->getChildDepth(), kDepth + 1);
    EXPECT_GE(result.root->gettotalsize(), 5000);
    ItemRef bottom = result.root;
    while (bottom->numberOfChildren() > 0) {
        bottom = bottom->childAtIndex(0);
    }
    EXPECT_EQ(bottom->name(), "bottom");
    EXPECT_GT(bottom->fullPath().size(), static_cast<std::size_t>(PATH_MAX));
}

// Folders are opened in their parent, which stays open while others of its
// subfolders wait; however deep the tree, the scan leaves the process
// descriptors to spare.
TEST_F(ScanEngine, DeepTreesLeaveDescriptorsToSpare) {
    std::string level;
    for (int i = 0; i < 200; ++i) {
        level += "d/";
        for (const char* side : {"a", "b", "c", "e"}) {
            tree.folder(level + side);
        }
    }
    tree.file(level + "bottom.bin", 4'000);
    const auto open = static_cast<rlim_t>(
        std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator()));
    struct rlimit old {};
    ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &old), 0);
    struct rlimit tight = old;
    tight.rlim_cur = open + 48;
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &tight), 0);
    BlockingScanResult result = scan(tree.path());
    ::setrlimit(RLIMIT_NOFILE, &old);
    EXPECT_TRUE(model.lastDeniedFolders().empty());
    EXPECT_EQ(result.root->gettotalsize(), duBytes(tree.path()));
}

constexpr const char* kChildRootVariable = "KORVEX_TEST_DENIED_SCAN_ROOT";

// Runs this test program again as the unprivileged user "nobody", with only
// the given tests, so that permission checks bite even when the suite runs as
// root. A fresh program rather than a bare fork: threads and fork do not mix.
int runTestsAsNobody(const std::string& filter, const std::string& root) {
    pid_t child = ::fork();
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) {
            ::_exit(90);
        }
        ::setenv(kChildRootVariable, root.c_str(), 1);
        std::string filterArg = "--gtest_filter=" + filter;
        ::execl("/proc/self/exe", "scan_tests", filterArg.c_str(), static_cast<char*>(nullptr));
        ::_exit(91);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 99;
}

TEST_F(ScanEngine, UnreadableFolderIsMarkedAndReported) {
    tree.file("open/ok.bin", 4'000);
    tree.file("locked/secret.bin", 4'000);
    tree.file("listonly/listed.bin", 4'000);
    fs::permissions(tree.root(), fs::perms::all);
    fs::permissions(tree.path("open"), fs::perms::all);
    fs::permissions(tree.path("open/ok.bin"), fs::perms::all);
    fs::permissions(tree.path("locked"), fs::perms::none);
    fs::permissions(tree.path("listonly"),
                    fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_EQ(runTestsAsNobody("DeniedFolderChild.*", tree.path()), 0);
}

// Runs only inside the program started by the test above.
TEST(DeniedFolderChild, ScanMarksAndReportsTheLockedFolder) {
    const char* rootVariable = std::getenv(kChildRootVariable);
    if (rootVariable == nullptr) {
        GTEST_SKIP() << "runs as part of UnreadableFolderIsMarkedAndReported";
    }
    std::string root = rootVariable;
    CModel model;
    BlockingScanResult result = runBlockingScan(model, root, nullptr);
    ItemRef locked = result.root->getItemByFilePath(root + "/locked");
    ASSERT_NE(locked, nullptr);
    EXPECT_TRUE(locked->accessDenied());
    EXPECT_EQ(locked->numberOfChildren(), 0u);
    EXPECT_EQ(itemNote(*locked), "Access denied: you may not list this folder");
    // Listed but not searchable: its entries cannot be sized, so it is denied too.
    ItemRef listOnly = result.root->getItemByFilePath(root + "/listonly");
    ASSERT_NE(listOnly, nullptr);
    EXPECT_TRUE(listOnly->accessDenied());
    EXPECT_EQ(itemNote(*listOnly),
              "Access denied: you may list this folder but not open its items");
    std::vector<std::string> denied = model.lastDeniedFolders();
    std::sort(denied.begin(), denied.end());
    EXPECT_EQ(denied, (std::vector<std::string>{root + "/listonly", root + "/locked"}));
    ItemRef ok = result.root->getItemByFilePath(root + "/open/ok.bin");
    ASSERT_NE(ok, nullptr);
    EXPECT_FALSE(ok->getParent()->accessDenied());
}

TEST_F(ScanEngine, MountPointsBelowTheScannedFolderAreNotEntered) {
    tree.file("here.bin", 4'000);
    std::string mountPoint = tree.folder("mnt");
    if (::geteuid() != 0 || ::mount("none", mountPoint.c_str(), "tmpfs", 0, "size=1m") != 0) {
        GTEST_SKIP() << "mounting needs root";
    }
    {
        int fd = ::open((mountPoint + "/inside.bin").c_str(), O_CREAT | O_WRONLY, 0644);
        ASSERT_EQ(::write(fd, std::string(8000, 'x').data(), 8000), 8000);
        ::close(fd);
    }
    BlockingScanResult result = scan(tree.path());
    const std::int64_t du = duBytes(tree.path(), true);
    ::umount(mountPoint.c_str());
    EXPECT_EQ(result.root->getItemByFilePath(mountPoint), nullptr);
    EXPECT_EQ(result.root->gettotalsize(), du);
}

TEST_F(ScanEngine, CancelLeavesAConsistentSortedPartialTree) {
    for (int i = 0; i < 200; ++i) {
        for (int j = 0; j < 100; ++j) {
            tree.file("d" + std::to_string(i) + "/f" + std::to_string(j), 10);
        }
    }
    std::atomic<bool> cancel{true};
    BlockingScanResult result = runBlockingScan(model, tree.path(), &biggest, &cancel);
    EXPECT_TRUE(result.cancelled);
    expectConsistentAndSorted(*result.root);
    EXPECT_LE(result.root->gettotalsize(), duBytes(tree.path()));
}

TEST_F(ScanEngine, StartingAScanCancelsTheRunningOne) {
    for (int i = 0; i < 300; ++i) {
        tree.file("first/d" + std::to_string(i % 30) + "/f" + std::to_string(i), 10);
    }
    tree.file("second/x.bin", 4'000);
    int finished = 0;
    int cancelled = 0;
    auto& center = platform::NotificationCenter::defaultCenter();
    auto onFinish =
        center.addObserver(scanNotifications::kFinishWalkingVolume, [&](auto&) { ++finished; });
    auto onCancel =
        center.addObserver(scanNotifications::kWalkingVolumeCanceled, [&](auto&) { ++cancelled; });

    FolderRef first = model.StartWalkWithPath(tree.path("first"), 0, nullptr);
    BlockingScanResult second = scan(tree.path("second"));
    // The replaced scan's report may still be on its way.
    platform::MainQueue::shared().runUntil([&] { return cancelled + finished == 2; },
                                           std::chrono::seconds(30));
    EXPECT_FALSE(second.cancelled);
    EXPECT_EQ(finished, 1);
    EXPECT_EQ(cancelled, 1);
    EXPECT_EQ(model.getRootItem(), second.root);
    EXPECT_EQ(second.root->gettotalsize(), duBytes(tree.path("second")));
    EXPECT_NE(first, second.root);
}

TEST_F(ScanEngine, NodesHeldAcrossARescanKeepTheirFactsAndPointAtNothingGone) {
    for (int i = 0; i < 40; ++i) {
        tree.file("keep/sub" + std::to_string(i % 4) + "/f" + std::to_string(i), 4'096);
    }
    tree.file("keep/sub0/held.bin", 64'000);
    // What the collection, the diagram and the lists hold on to.
    ItemRef heldFile;
    ItemRef heldFolder;
    ItemList biggestBefore;
    {
        BlockingScanResult first = scan(tree.path());
        heldFile = first.root->getItemByFilePath(tree.path("keep/sub0/held.bin"));
        heldFolder = first.root->getItemByFilePath(tree.path("keep/sub1"));
        ASSERT_NE(heldFile, nullptr);
        ASSERT_NE(heldFolder, nullptr);
        first.root->fillBiggestFilesArray(biggestBefore);
    }
    tree.file("keep/sub0/new.bin", 8'000);
    BlockingScanResult second = scan(tree.path());
    // The first tree is gone but for what is held: each held node keeps its
    // name and size, and a parent only while that parent lives.
    EXPECT_EQ(heldFile->name(), "held.bin");
    EXPECT_GE(heldFile->gettotalsize(), 64'000);
    for (const ItemRef& node : biggestBefore) {
        EXPECT_FALSE(node->name().empty());
        const FolderSystemItem* parent = node->getParent();
        EXPECT_TRUE(parent == nullptr || parent == heldFolder.get()) << node->name();
    }
    EXPECT_EQ(heldFolder->getParent(), nullptr);
    EXPECT_EQ(heldFolder->numberOfChildren(), 10u);
    for (const ItemRef& child : static_cast<FolderSystemItem&>(*heldFolder).childrenArray()) {
        EXPECT_EQ(child->getParent(), heldFolder.get());
    }
    expectConsistentAndSorted(*second.root);
    EXPECT_NE(second.root->getItemByFilePath(tree.path("keep/sub0/new.bin")), nullptr);
    biggestBefore.clear();
    heldFile.reset();
    heldFolder.reset();
}

// Remembers every scanning path the model reports, and outlives the model.
class RecordingScanningInfo : public ScanningInfoObserver {
  public:
    void setScanningPath(const std::string& path) override { paths.push_back(path); }
    bool isScanning() const override { return !paths.empty() && !paths.back().empty(); }
    std::vector<std::string> paths;
};

TEST(ScanModelLifetime, ModelGoneBeforeItsIdleCheckIsNeverCalledBack) {
    TempTree tree;
    tree.file("a/b.bin", 4'000);
    RecordingScanningInfo info;
    {
        CModel shortLived(&info);
        shortLived.StartWalkWithPath(tree.path(), 0, nullptr);
        // Stopping a running scan arms the check for an idle queue, due a
        // tenth of a second later; the model goes before it is due.
        shortLived.StopWalking();
    }
    ASSERT_FALSE(info.paths.empty());
    EXPECT_EQ(info.paths.back(), "");
    const std::size_t reported = info.paths.size();
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(300);
    platform::MainQueue::shared().runUntil([&] { return std::chrono::steady_clock::now() > until; },
                                           std::chrono::seconds(2));
    EXPECT_EQ(info.paths.size(), reported);
}

TEST_F(ScanEngine, ProgressIsReportedWithTheCountedTotal) {
    tree.file("a", 50'000);
    std::int64_t lastProgress = -1;
    auto token = platform::NotificationCenter::defaultCenter().addObserver(
        scanNotifications::kUpdateProgress,
        [&](const std::any& total) { lastProgress = std::any_cast<std::int64_t>(total); });
    BlockingScanResult result = scan(tree.path());
    EXPECT_EQ(lastProgress, result.root->gettotalsize());
}

}  // namespace
}  // namespace korvex

namespace korvex {
namespace {

// A real volume made for the test: a small tmpfs with a file hidden under a
// second mount, so its occupied space exceeds what a scan can reach.
class VolumeScan : public ::testing::Test {
  protected:
    void SetUp() override {
        volume = tree.folder("vol");
        if (::geteuid() != 0 || ::mount("none", volume.c_str(), "tmpfs", 0, "size=8m") != 0) {
            GTEST_SKIP() << "mounting needs root";
        }
        mounted.push_back(volume);
        writeFile(volume + "/seen.bin", 300'000);
        std::filesystem::create_directory(volume + "/covered");
        writeFile(volume + "/covered/hidden.bin", 1'000'000);
        ASSERT_EQ(::mount("none", (volume + "/covered").c_str(), "tmpfs", 0, "size=1m"), 0);
        mounted.push_back(volume + "/covered");
    }
    void TearDown() override {
        for (auto it = mounted.rbegin(); it != mounted.rend(); ++it) {
            ::umount(it->c_str());
        }
    }
    static void writeFile(const std::string& path, std::size_t bytes) {
        int fd = ::open(path.c_str(), O_CREAT | O_WRONLY, 0644);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::write(fd, std::string(bytes, 'v').data(), bytes), static_cast<ssize_t>(bytes));
        ::close(fd);
    }

    TempTree tree;
    std::string volume;
    std::vector<std::string> mounted;
    CModel model;
};

TEST_F(VolumeScan, SpaceTheScanCannotReachBecomesAnInaccessibleNode) {
    ASSERT_NE(model.addVolumeAtPath(volume), nullptr);
    BlockingScanResult result = runBlockingScan(model, volume, nullptr);
    ASSERT_TRUE(result.root->isVol());
    auto* root = static_cast<VolumeSystemItem*>(result.root.get());
    std::size_t first = 0;
    std::int64_t special = root->specialItemsSize(&first);
    ASSERT_EQ(first + 1, root->numberOfChildren());
    FileSystemItem* last = root->childAtIndex(first);
    EXPECT_TRUE(last->isInaccessible());
    EXPECT_GE(special, 1'000'000);
    EXPECT_EQ(root->gettotalsize(), root->getOccSize());
    EXPECT_EQ(last->getDesc(), "Inaccessible Disk Space");
}

TEST_F(VolumeScan, CancelledVolumeScanShowsTheRestAsUnscanned) {
    ASSERT_NE(model.addVolumeAtPath(volume), nullptr);
    std::atomic<bool> cancel{true};
    BlockingScanResult result = runBlockingScan(model, volume, nullptr, &cancel);
    ASSERT_TRUE(result.cancelled);
    auto* root = static_cast<VolumeSystemItem*>(result.root.get());
    ASSERT_GT(root->numberOfChildren(), 0u);
    FileSystemItem* last = root->childAtIndex(root->numberOfChildren() - 1);
    EXPECT_TRUE(last->isUnscanned());
    EXPECT_EQ(root->gettotalsize(), root->getOccSize());
}

TEST_F(VolumeScan, FolderRootsGetNoSyntheticNodes) {
    BlockingScanResult result = runBlockingScan(model, volume, nullptr);
    EXPECT_FALSE(result.root->isVol());
    for (const ItemRef& child : result.root->childrenArray()) {
        EXPECT_FALSE(child->isSpecial());
    }
}

}  // namespace
}  // namespace korvex
