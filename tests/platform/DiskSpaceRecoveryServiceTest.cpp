#include "platform/UserFolders.h"
#include "platform/dispatch/SerialQueue.h"
#include "platform/recovery/DiskSpaceRecoveryService.h"
#include "support/DiskUsage.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <future>
#include <thread>

namespace korvex::platform {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// What du says the folder's contents take, without the folder itself.
std::int64_t allocatedBelow(const std::string& folder) {
    struct stat info {};
    ::stat(folder.c_str(), &info);
    return test::duBytes(folder) - static_cast<std::int64_t>(info.st_blocks) * 512;
}

struct Release {
    bool finished;
    std::uint64_t bytes;
    std::optional<std::string> error;
    bool onQueue;
};

Release releaseAndWait(const DiskSpaceRecoveryService& service, const std::string& volume) {
    SerialQueue queue("test.recovery");
    std::promise<std::thread::id> queueThread;
    queue.async([&] { queueThread.set_value(std::this_thread::get_id()); });
    std::thread::id expected = queueThread.get_future().get();
    std::promise<Release> done;
    service.startRecovery(
        volume, 1, queue,
        [&](bool finished, std::uint64_t bytes, std::optional<std::string> error) {
            done.set_value(
                {finished, bytes, std::move(error), std::this_thread::get_id() == expected});
        });
    return done.get_future().get();
}

// A cache with nested folders, a hard-linked pair, and a link to a file
// outside that must survive.
class CacheFolder : public ::testing::Test {
  protected:
    void SetUp() override {
        tree.file("cache/app/blob.bin", 200000);
        tree.file("cache/app/deep/er/small.txt", 10);
        tree.file("cache/thumbs/1.png", 40000);
        ::link(tree.path("cache/thumbs/1.png").c_str(), tree.path("cache/thumbs/same.png").c_str());
        tree.file("kept/outside.dat", 300000);
        fs::create_symlink(tree.path("kept/outside.dat"), tree.path("cache/outside-link"));
        fs::create_directory_symlink(tree.path("kept"), tree.path("cache/kept-link"));
    }
    test::TempTree tree;
    DiskSpaceRecoveryService service{{tree.path("cache")}};
};

TEST_F(CacheFolder, EstimateIsTheAllocatedSizeOfTheContents) {
    std::uint64_t estimate = service.recoveryEstimate(tree.path());
    EXPECT_GT(estimate, 240000u);
    EXPECT_EQ(static_cast<std::int64_t>(estimate), allocatedBelow(tree.path("cache")));
}

TEST_F(CacheFolder, ReleaseEmptiesTheCacheButKeepsItAndWhatLinksPointTo) {
    std::uint64_t before = service.recoveryEstimate(tree.path());
    Release result = releaseAndWait(service, tree.path());
    EXPECT_TRUE(result.finished);
    EXPECT_EQ(result.error, std::nullopt);
    EXPECT_TRUE(result.onQueue);
    EXPECT_EQ(result.bytes, before);
    EXPECT_TRUE(fs::is_directory(tree.path("cache")));
    EXPECT_TRUE(fs::is_empty(tree.path("cache")));
    EXPECT_EQ(fs::file_size(tree.path("kept/outside.dat")), 300000u);
    EXPECT_EQ(service.recoveryEstimate(tree.path()), 0u);
}

TEST_F(CacheFolder, OtherVolumesAndMissingFoldersHaveNothingToGive) {
    EXPECT_EQ(service.recoveryEstimate("/proc"), 0u);
    EXPECT_EQ(service.recoveryEstimate(tree.path("no/such/volume")), 0u);
    Release elsewhere = releaseAndWait(service, "/proc");
    EXPECT_TRUE(elsewhere.finished);
    EXPECT_EQ(elsewhere.bytes, 0u);
    EXPECT_TRUE(fs::exists(tree.path("cache/app/blob.bin")));

    DiskSpaceRecoveryService none({tree.path("missing-cache")});
    EXPECT_EQ(none.recoveryEstimate(tree.path()), 0u);
    Release result = releaseAndWait(none, tree.path());
    EXPECT_TRUE(result.finished);
    EXPECT_EQ(result.bytes, 0u);
}

// Cache folders that must never be emptied, whatever the environment says.
class RefusedCacheFolder : public ::testing::Test {
  protected:
    void SetUp() override {
        tree.file("home/letter.txt", 5000);
        tree.file("home/.cache/thumb.png", 4000);
    }
    CacheFolderOwner owner() const { return {tree.path("home"), ::getuid()}; }
    // The refusal of `folder`, or "" when it may be emptied.
    std::string refusalOf(const std::string& folder) const {
        auto opened = openCacheFolderToEmpty(folder, owner());
        const auto* reason = std::get_if<std::string>(&opened);
        return reason != nullptr ? *reason : std::string();
    }
    test::TempTree tree;
};

TEST_F(RefusedCacheFolder, ACacheSetToTheHomeFolderIsRefusedAndNothingGoes) {
    UserFolders::Environment environment;
    environment.home = tree.path("home");
    environment.xdgCacheHome = tree.path("home");  // XDG_CACHE_HOME=$HOME
    const UserFolders folders(environment);
    DiskSpaceRecoveryService service({folders.cacheHome()}, owner());

    auto planned = service.foldersToEmpty(tree.path());
    ASSERT_TRUE(std::holds_alternative<std::string>(planned));
    EXPECT_EQ(std::get<std::string>(planned), "The cache folder \"" + tree.path("home") +
                                                  "\" is not emptied: it is your home folder.");
    EXPECT_EQ(service.recoveryEstimate(tree.path()), 0u) << "the home is not purgeable space";
    Release result = releaseAndWait(service, tree.path());
    EXPECT_FALSE(result.finished);
    EXPECT_EQ(result.error, std::get<std::string>(planned));
    EXPECT_EQ(fs::file_size(tree.path("home/letter.txt")), 5000u);
    EXPECT_TRUE(fs::exists(tree.path("home/.cache/thumb.png")));
}

TEST_F(RefusedCacheFolder, RootAncestorsLinksAndOtherUsersFoldersAreRefused) {
    EXPECT_NE(refusalOf("/").find("it is the root folder."), std::string::npos);
    EXPECT_NE(refusalOf(tree.path()).find("it holds your home folder."), std::string::npos);
    EXPECT_NE(refusalOf(tree.path("home/./")).find("it is your home folder."), std::string::npos);
    EXPECT_NE(refusalOf(tree.path("home/.cache/..")).find("\"..\""), std::string::npos);
    EXPECT_NE(refusalOf("relative/cache").find("not an absolute path"), std::string::npos);

    // A link to the real cache, and a link on the way to it.
    fs::create_directory_symlink(tree.path("home/.cache"), tree.path("cache-link"));
    fs::create_directory_symlink(tree.path("home"), tree.path("home-link"));
    EXPECT_NE(refusalOf(tree.path("cache-link")).find("symbolic link"), std::string::npos);
    EXPECT_NE(refusalOf(tree.path("home-link/.cache"))
                  .find("symbolic link \"" + tree.path("home-link") + "\""),
              std::string::npos);
    EXPECT_NE(refusalOf(tree.path("home/letter.txt")).find("is not a folder"), std::string::npos);

    EXPECT_EQ(refusalOf(tree.path("home/.cache")), "") << "the user's own cache is fine";
    auto missing = openCacheFolderToEmpty(tree.path("home/none"), owner());
    EXPECT_TRUE(std::holds_alternative<CacheFolderMissing>(missing));

    const std::string theirs = tree.folder("theirs");
    if (::geteuid() != 0 || ::chown(theirs.c_str(), 65534, 65534) != 0) {
        GTEST_SKIP() << "giving a folder to another user needs root";
    }
    EXPECT_NE(refusalOf(theirs).find("it belongs to another user."), std::string::npos);
}

TEST(SerialQueue, RunsBlocksInOrderOffTheCallingThread) {
    std::vector<int> order;
    std::thread::id caller = std::this_thread::get_id();
    bool elsewhere = true;
    {
        SerialQueue queue("test.order");
        for (int i = 0; i < 50; ++i) {
            queue.async([&, i] {
                order.push_back(i);
                elsewhere = elsewhere && std::this_thread::get_id() != caller;
            });
        }
    }  // dropping the queue lets the posted blocks finish
    EXPECT_EQ(order.size(), 50u);
    EXPECT_TRUE(std::is_sorted(order.begin(), order.end()));
    EXPECT_TRUE(elsewhere);
}

}  // namespace
}  // namespace korvex::platform
