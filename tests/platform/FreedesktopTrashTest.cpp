#include "platform/fs/PercentEncoding.h"
#include "platform/trash/FreedesktopTrash.h"
#include "support/TempTree.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

namespace korvex::platform {
namespace {

std::string pathLineOf(const std::string& infoPath) {
    std::ifstream in(infoPath);
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("Path=", 0) == 0) {
            return line.substr(5);
        }
    }
    return {};
}

class TrashTest : public ::testing::Test {
  protected:
    test::TempTree tree;
    FreedesktopTrash trash{tree.path("data/Trash"), ::getuid()};
};

TEST_F(TrashTest, FileAndFolderGoToHomeTrashAndRestoreFromInfo) {
    const std::string file = tree.file("work/a.txt", 100);
    tree.file("work/dir/inner", 70000);
    const std::string dir = tree.path("work/dir");
    for (const std::string& item : {file, dir}) {
        auto result = trash.trashItem(item);
        ASSERT_TRUE(std::holds_alternative<FreedesktopTrash::Trashed>(result));
        const auto& done = std::get<FreedesktopTrash::Trashed>(result);
        EXPECT_NE(::access(item.c_str(), F_OK), 0);
        const std::string original = percentDecode(pathLineOf(done.infoPath));
        EXPECT_EQ(original, item);
        ASSERT_EQ(::rename(done.filesPath.c_str(), original.c_str()), 0);
    }
    EXPECT_EQ(::access(tree.path("work/dir/inner").c_str(), F_OK), 0);
    std::ifstream sizes(tree.path("data/Trash/directorysizes"));
    std::string size, mtime, name;
    sizes >> size >> mtime >> name;
    EXPECT_EQ(name, "dir");
    EXPECT_GE(std::stoull(size), 70000u);
}

TEST_F(TrashTest, CollisionsAndOddNamesGetDistinctEntries) {
    const std::string odd = std::string("-q \"x\"\n\xff%41.txt");
    std::vector<std::string> got;
    for (int i = 0; i < 3; ++i) {
        const std::string item = tree.file("w/" + odd, 10);
        auto result = trash.trashItem(item);
        ASSERT_TRUE(std::holds_alternative<FreedesktopTrash::Trashed>(result));
        const auto& done = std::get<FreedesktopTrash::Trashed>(result);
        got.push_back(done.filesPath.substr(done.filesPath.rfind('/') + 1));
        const std::string line = pathLineOf(done.infoPath);
        EXPECT_EQ(line.find('\n'), std::string::npos);
        EXPECT_EQ(percentDecode(line), item);
    }
    EXPECT_EQ(got[1], "-q \"x\"\n\xff%41 1.txt");
    EXPECT_EQ(got[2], "-q \"x\"\n\xff%41 2.txt");
}

TEST_F(TrashTest, MissingItemFailsWithSystemMessage) {
    auto result = trash.trashItem(tree.path("nothing"));
    ASSERT_TRUE(std::holds_alternative<FileOpFailure>(result));
    EXPECT_EQ(std::get<FileOpFailure>(result).errnoValue, ENOENT);
}

}  // namespace
}  // namespace korvex::platform
