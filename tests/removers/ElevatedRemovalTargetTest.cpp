#include "cleanup/removers/ElevatedRemovalTarget.h"
#include "removers/RemoverTestSupport.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

namespace korvex {
namespace {

namespace fs = std::filesystem;

struct stat statusOf(const std::string& path) {
    struct stat info {};
    ::lstat(path.c_str(), &info);
    return info;
}

TEST(RemovalTarget, CarriesThePathAndTheFileItNamedWhenClassified) {
    test::TempTree tree;
    const std::string path = tree.file("item \"x\"\n", 10);
    const struct stat before = statusOf(path);
    auto target = ElevatedRemovalTarget::forItem(test::failedRemoveItem(path));
    // Replaced after the classification: the target still names the first file.
    fs::rename(tree.file("other", 3), path);
    ASSERT_TRUE(target);
    EXPECT_EQ(target->target(),
              (elevated::TargetItem{path, static_cast<std::uint64_t>(before.st_dev),
                                    static_cast<std::uint64_t>(before.st_ino)}));
    EXPECT_NE(target->target().inode, static_cast<std::uint64_t>(statusOf(path).st_ino));
}

TEST(RemovalTarget, ALinkIsIdentifiedAsItselfNotItsTarget) {
    test::TempTree tree;
    const std::string file = tree.file("file", 1);
    const std::string link = tree.path("link");
    fs::create_symlink(file, link);
    auto target = ElevatedRemovalTarget::forItem(test::failedRemoveItem(link));
    ASSERT_TRUE(target);
    EXPECT_EQ(target->target().inode, static_cast<std::uint64_t>(statusOf(link).st_ino));
    EXPECT_NE(target->target().inode, static_cast<std::uint64_t>(statusOf(file).st_ino));
}

TEST(RemovalTarget, NoneForAVanishedOrMissingItem) {
    test::TempTree tree;
    EXPECT_FALSE(ElevatedRemovalTarget::forItem(test::failedRemoveItem(tree.path("gone"))));
    EXPECT_FALSE(ElevatedRemovalTarget::forItem(nullptr));
}

}  // namespace
}  // namespace korvex
