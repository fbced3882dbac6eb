#include "platform/fs/FileTransfer.h"
#include "platform/trash/FreedesktopTrash.h"
#include "support/TempTree.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <thread>

namespace korvex::platform {
namespace {

namespace fs = std::filesystem;

NameChooser always(std::string name) {
    return [name](const std::vector<std::string>&) { return name; };
}

std::vector<std::string> namesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename());
    }
    return names;
}

// A tmpfs below the temporary tree: another file system, of the size asked.
class CrossVolumeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!mount("size=1m")) {
            GTEST_SKIP() << "no second file system: cannot mount a tmpfs here: "
                         << std::strerror(errno);
        }
    }
    void TearDown() override {
        if (mounted) {
            ::umount2(volume.c_str(), MNT_DETACH);
        }
        if (!shared.empty()) {
            fs::remove_all(shared);
        }
    }
    bool mount(const char* options) {
        volume = tree.folder("vol");
        mounted = ::mount("tmpfs", volume.c_str(), "tmpfs", 0, options) == 0;
        return mounted;
    }
    // Without the right to mount, the system's shared-memory file system
    // serves, when it is another one than the temporary tree's.
    bool useSharedMemory() {
        struct stat here {};
        struct stat there {};
        char folder[] = "/dev/shm/korvex-test-XXXXXX";
        if (::stat(tree.path().c_str(), &here) != 0 || ::stat("/dev/shm", &there) != 0 ||
            here.st_dev == there.st_dev || ::mkdtemp(folder) == nullptr) {
            return false;
        }
        shared = volume = folder;
        return true;
    }
    test::TempTree tree;
    std::string volume;
    std::string shared;
    bool mounted = false;
};

TEST_F(CrossVolumeTest, MoveKeepsModeAndTimesAndRemovesSource) {
    const std::string file = tree.file("src/f", 3000);
    ASSERT_EQ(::chmod(tree.path("src").c_str(), 0751), 0);
    ASSERT_EQ(::symlink("f", tree.path("src/l").c_str()), 0);
    auto moved = moveItemInto(tree.path("src"), volume, always("src"));
    ASSERT_EQ(std::get<std::string>(moved), "src");
    struct stat info {};
    EXPECT_NE(::lstat(tree.path("src").c_str(), &info), 0);
    ASSERT_EQ(::lstat((volume + "/src").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0751u);
    ASSERT_EQ(::lstat((volume + "/src/l").c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    EXPECT_EQ(namesIn(volume), std::vector<std::string>{"src"});
}

TEST_F(CrossVolumeTest, FullVolumeLeavesSourceNeighboursAndNoPartialCopy) {
    tree.file("vol/neighbour", 1000);
    tree.file("big/data", 3 * 1024 * 1024);
    auto failed = moveItemInto(tree.path("big"), volume, always("big"));
    ASSERT_TRUE(std::holds_alternative<FileOpFailure>(failed));
    const auto& failure = std::get<FileOpFailure>(failed);
    EXPECT_EQ(failure.errnoValue, ENOSPC);
    EXPECT_NE(failure.message.find(std::strerror(ENOSPC)), std::string::npos);
    EXPECT_EQ(fs::file_size(tree.path("big/data")), 3u * 1024 * 1024);
    EXPECT_EQ(namesIn(volume), std::vector<std::string>{"neighbour"})
        << "the temporary copy went, and only it";
    EXPECT_EQ(fs::file_size(volume + "/neighbour"), 1000u);
}

// A process killed while it moves a large file to another file system: the
// copy is still under its temporary name, so the real name stays free and
// the source is whole.
class KilledMoveTest : public CrossVolumeTest {
  protected:
    void SetUp() override {
        if (!mount("size=1g") && !useSharedMemory()) {
            GTEST_SKIP() << "no second file system: neither a tmpfs of its own nor /dev/shm";
        }
    }
};

TEST_F(KilledMoveTest, LeavesTheSourceWholeAndNothingUnderTheFinalName) {
    constexpr std::size_t kBytes = 256u << 20;
    const std::string source = tree.path("big.bin");
    {
        // Every block different, so that a partial or shuffled copy shows.
        const int fd = ::open(source.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        ASSERT_GE(fd, 0);
        std::vector<std::uint64_t> block(8192);
        for (std::size_t at = 0; at < kBytes; at += block.size() * 8) {
            for (std::size_t i = 0; i < block.size(); ++i) {
                block[i] = at + i;
            }
            ASSERT_EQ(::write(fd, block.data(), block.size() * 8),
                      static_cast<ssize_t>(block.size() * 8));
        }
        ::close(fd);
    }
    const auto contents = [&] {
        std::string text(kBytes, '\0');
        std::FILE* in = std::fopen(source.c_str(), "rb");
        EXPECT_EQ(std::fread(text.data(), 1, kBytes, in), kBytes);
        std::fclose(in);
        return text;
    };
    const std::string before = contents();

    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        moveItemInto(source, volume, always("big.bin"));
        ::_exit(0);
    }
    // Kill it as soon as its copy has begun to fill.
    bool sawCopy = false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!sawCopy && std::chrono::steady_clock::now() < deadline) {
        for (const std::string& name : namesIn(volume)) {
            struct stat info {};
            if (name.rfind(kIncompleteCopyPrefix, 0) == 0 &&
                ::stat((volume + "/" + name).c_str(), &info) == 0 && info.st_size > 0) {
                sawCopy = true;
            }
        }
        if (!sawCopy) {
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
    }
    ::kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(sawCopy) << "the copy never showed under a temporary name";
    ASSERT_TRUE(WIFSIGNALED(status)) << "the move ended before it could be killed";

    EXPECT_FALSE(fs::exists(volume + "/big.bin"));
    for (const std::string& name : namesIn(volume)) {
        EXPECT_EQ(name.rfind(kIncompleteCopyPrefix, 0), 0u) << name;
    }
    ASSERT_EQ(fs::file_size(source), kBytes);
    EXPECT_TRUE(contents() == before) << "the source changed";
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
