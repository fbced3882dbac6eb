#include "scan/format/PathUtils.h"
#include "scan/format/PathsGenerator.h"
#include "scan/format/TempPaths.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

namespace korvex {
namespace {

TEST(PathComponents, LeadingSlashIsAComponentAndRepeatsCollapse) {
    EXPECT_EQ(pathComponents("/a//b/"), (std::vector<std::string_view>{"/", "a", "b"}));
    EXPECT_EQ(pathComponents("a/b"), (std::vector<std::string_view>{"a", "b"}));
    EXPECT_TRUE(pathComponents("").empty());
    EXPECT_EQ(joinPathComponent("/", "/x"), "/x");
    EXPECT_EQ(joinPathComponent("/a/", "b"), "/a/b");
}

TEST(PathRelations, FolderParentNeedsAWholeComponent) {
    EXPECT_TRUE(Utilmod::isFolderParent("/a/b", nullptr, "/a/b/c", nullptr));
    EXPECT_FALSE(Utilmod::isFolderParent("/a/b", nullptr, "/a/bc/d", nullptr));
    EXPECT_FALSE(Utilmod::isFolderParent("/a/b", nullptr, "/a/b", nullptr));
    EXPECT_TRUE(Utilmod::isFolderParent("/", nullptr, "/x", nullptr));
    auto folder = pathComponents("/a/b");
    auto file = pathComponents("/a/b/c/d");
    EXPECT_TRUE(Utilmod::isFolderParent("/a/b", &folder, "/a/b/c/d", &file));
}

TEST(PathRelations, InFolderIsAStringRuleWithASeparator) {
    EXPECT_TRUE(isInFolder("/home/u/x", "/home/u"));
    EXPECT_FALSE(isInFolder("/home/u", "/home/u"));
    EXPECT_FALSE(isInFolder("/home/user2/x", "/home/u"));
    EXPECT_FALSE(isInFolder("/home/u/x", "/home/u/"));  // a trailing "/" contains nothing
}

TEST(PathTilde, HomePrefixIsReplacedAsAString) {
    EXPECT_EQ(pathWithReplasingHomeFolderUsingTilda("/home/u", "/home/u"), "~");
    EXPECT_EQ(pathWithReplasingHomeFolderUsingTilda("/home/u/Documents", "/home/u"), "~/Documents");
    // The rule compares strings, not components: a sibling sharing the prefix is shortened too.
    EXPECT_EQ(pathWithReplasingHomeFolderUsingTilda("/home/ux", "/home/u"), "~x");
    EXPECT_EQ(pathWithReplasingHomeFolderUsingTilda("/srv/u", "/home/u"), "/srv/u");
    const std::string& home = PathsGenerator::GetInstance().getHomeDirectory();
    EXPECT_EQ(PathsGenerator::GetInstance().expandTildeInPath("~/a"), home + "/a");
    EXPECT_EQ(PathsGenerator::GetInstance().expandTildeInPath("~a"), "~a");
}

TEST(CopyNaming, CountsUpPastTakenNames) {
    test::TempTree tree;
    tree.file("report.txt");
    tree.file("report 2.txt");
    EXPECT_EQ(Utilmod::getNameForCopiedFile("report.txt", tree.path()), "report 3.txt");
    EXPECT_EQ(Utilmod::getNameForCopiedFile("report.txt", tree.path(), {tree.path("report 3.txt")}),
              "report 4.txt");
    EXPECT_EQ(Utilmod::getNameForCopiedFile("fresh.txt", tree.path()), "fresh.txt");
    tree.folder("Folder");
    EXPECT_EQ(Utilmod::getNameForCopiedFile("Folder", tree.path()), "Folder 2");
    tree.file(".bashrc");
    EXPECT_EQ(Utilmod::getNameForCopiedFile(".bashrc", tree.path()), ".bashrc 2");
}

TEST(TempPathsTest, NamesAreFreshAndRandom) {
    test::TempTree tree;
    std::string path = DataChangeCommon::buildTempPathInPath(tree.path());
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_EQ(std::filesystem::path(path).filename().string().size(), 10u);
    EXPECT_EQ(std::filesystem::path(path).parent_path(), tree.root());

    std::string random = randomStringWithLength(64, "ab");
    EXPECT_EQ(random.find_first_not_of("ab"), std::string::npos);
    EXPECT_NE(randomStringWithLength(20), randomStringWithLength(20));
}

}  // namespace
}  // namespace korvex
