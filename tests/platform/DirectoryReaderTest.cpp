#include "platform/LimitedTimePerformer.h"
#include "platform/fs/DirectoryReader.h"
#include "support/TempTree.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <map>

namespace korvex::platform {
namespace {

std::map<std::string, DirectoryEntry> readAll(const std::string& path,
                                              std::vector<std::string>& names) {
    DirectoryHandle dir = DirectoryReader::openDirectory(path);
    EXPECT_TRUE(dir.valid()) << path;
    std::map<std::string, DirectoryEntry> entries;
    std::vector<char> buffer(25'600);
    std::vector<DirectoryEntry> batch;
    while (DirectoryReader::readBatch(dir, buffer.data(), buffer.size(), batch).read > 0) {
        for (const DirectoryEntry& entry : batch) {
            names.emplace_back(entry.name);
            DirectoryEntry copy = entry;
            copy.name = {};
            entries[std::string(entry.name)] = copy;
        }
    }
    DirectoryReader::close(dir);
    return entries;
}

TEST(DirectoryReading, EntriesCarryTypeAndSizesAsStatSeesThem) {
    test::TempTree tree;
    tree.file("data.bin", 70'000);
    tree.folder("sub");
    std::filesystem::create_symlink("data.bin", tree.path("link"));
    std::string odd = std::string("new\nline \"q\" \xff") + std::string(200, 'z');
    tree.file(odd, 10);
    std::vector<std::string> names;
    auto entries = readAll(tree.path(), names);
    ASSERT_EQ(entries.size(), 4u);

    struct stat info {};
    ASSERT_EQ(::lstat(tree.path("data.bin").c_str(), &info), 0);
    EXPECT_EQ(entries["data.bin"].type, EntryType::Regular);
    EXPECT_EQ(entries["data.bin"].logicalSize, 70'000u);
    EXPECT_EQ(entries["data.bin"].allocatedSize, static_cast<std::uint64_t>(info.st_blocks) * 512);
    EXPECT_EQ(entries["sub"].type, EntryType::Directory);
    EXPECT_FALSE(entries["sub"].isMountPoint);
    EXPECT_EQ(entries["link"].type, EntryType::Symlink);
    EXPECT_EQ(entries.count(odd), 1u);
}

TEST(DirectoryReading, LargeFoldersAreReadCompletelyInBatches) {
    test::TempTree tree;
    tree.folder("many");
    constexpr int kCount = 20'000;
    for (int i = 0; i < kCount; ++i) {
        int fd =
            ::open(tree.path("many/entry-" + std::to_string(i)).c_str(), O_CREAT | O_WRONLY, 0644);
        ASSERT_GE(fd, 0);
        ::close(fd);
    }
    std::vector<std::string> names;
    auto entries = readAll(tree.path("many"), names);
    EXPECT_EQ(names.size(), static_cast<std::size_t>(kCount));
    EXPECT_EQ(entries.size(), static_cast<std::size_t>(kCount));
}

TEST(DirectoryReading, HardLinksShareTheirInodeAndCountTheirNames) {
    test::TempTree tree;
    std::string first = tree.file("first", 9'000);
    std::filesystem::create_hard_link(first, tree.path("second"));
    tree.file("single", 9'000);
    std::vector<std::string> names;
    auto entries = readAll(tree.path(), names);
    EXPECT_EQ(entries["first"].linkCount, 2u);
    EXPECT_EQ(entries["first"].inode, entries["second"].inode);
    EXPECT_EQ(entries["single"].linkCount, 1u);
    EXPECT_NE(entries["single"].inode, entries["first"].inode);
    struct stat self {};
    ASSERT_EQ(::stat(tree.path().c_str(), &self), 0);
    DirectoryHandle dir = DirectoryReader::openDirectory(tree.path());
    EXPECT_EQ(dir.allocatedSize, static_cast<std::uint64_t>(self.st_blocks) * 512);
    DirectoryReader::close(dir);
}

TEST(DirectoryReading, MountPointsAreFlagged) {
    std::vector<std::string> names;
    auto entries = readAll("/", names);
    if (entries.count("proc") == 0) {
        GTEST_SKIP() << "no /proc below /";
    }
    EXPECT_TRUE(entries["proc"].isMountPoint);
}

TEST(DirectoryReading, OpeningWhatIsNoFolderFails) {
    test::TempTree tree;
    std::string file = tree.file("plain", 1);
    EXPECT_FALSE(DirectoryReader::openDirectory(file).valid());
    EXPECT_EQ(errno, ENOTDIR);
    EXPECT_FALSE(DirectoryReader::openDirectory(tree.path("missing")).valid());
    std::filesystem::create_directory_symlink(tree.path(), tree.path("dirlink"));
    EXPECT_FALSE(DirectoryReader::openDirectory(tree.path("dirlink")).valid());
}

TEST(LimitedTimeCalls, HungCallAnswersTheDefaultAndIsRemembered) {
    int pipeEnds[2];
    ASSERT_EQ(::pipe(pipeEnds), 0);
    auto start = std::chrono::steady_clock::now();
    ssize_t got = LimitedTimePerformer::perform(std::chrono::milliseconds(300), ssize_t{-7},
                                                "test; read", "/hung/pipe", [&] {
                                                    char byte;
                                                    return ::read(pipeEnds[0], &byte, 1);
                                                });
    auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(got, -7);
    EXPECT_GE(waited, std::chrono::milliseconds(300));
    EXPECT_LT(waited, std::chrono::seconds(10));

    bool ran = false;
    int again = LimitedTimePerformer::perform(std::chrono::milliseconds(300), -1, "test",
                                              "/hung/pipe", [&] {
                                                  ran = true;
                                                  return 0;
                                              });
    EXPECT_FALSE(ran);
    EXPECT_EQ(again, -1);
    LimitedTimePerformer::forgetHungPaths();
    EXPECT_EQ(LimitedTimePerformer::perform(std::chrono::milliseconds(300), -1, "test",
                                            "/hung/pipe", [] { return 5; }),
              5);
    ::close(pipeEnds[0]);
    ::close(pipeEnds[1]);
}

}  // namespace
}  // namespace korvex::platform
