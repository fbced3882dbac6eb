#include "platform/dispatch/SerialQueue.h"
#include "platform/recovery/DiskSpaceRecoveryService.h"
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
std::uint64_t allocatedBelow(const std::string& folder) {
    std::string command = "du -s -B1 '" + folder + "'";
    FILE* pipe = ::popen(command.c_str(), "r");
    unsigned long long total = 0;
    EXPECT_EQ(std::fscanf(pipe, "%llu", &total), 1);
    ::pclose(pipe);
    struct stat info {};
    ::stat(folder.c_str(), &info);
    return total - static_cast<std::uint64_t>(info.st_blocks) * 512;
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
    EXPECT_EQ(estimate, allocatedBelow(tree.path("cache")));
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
