#include "platform/fs/FileTransfer.h"
#include "platform/fs/NoReplaceRename.h"
#include "support/TempTree.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <set>

namespace korvex::platform {
namespace {

namespace fs = std::filesystem;

std::string contentsOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string text(fs::file_size(path), '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    return text;
}

void writeFile(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

std::set<std::string> namesIn(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.insert(entry.path().filename());
    }
    return names;
}

// Gives `wanted`, then "<wanted> 2", "<wanted> 3"… for each name found taken.
NameChooser numbered(const std::string& wanted) {
    return [wanted](const std::vector<std::string>& taken) {
        return taken.empty() ? wanted : wanted + " " + std::to_string(taken.size() + 1);
    };
}

// Plays another process that takes the name the transfer chose in the
// moment between the choice and the transfer's own create: the first name
// given is made by this chooser, with `text` in it, before it is answered.
NameChooser takenJustInTime(const std::string& folder, const std::string& text,
                            bool asFolder = false) {
    auto choose = numbered("item");
    return [=](const std::vector<std::string>& taken) {
        std::string name = choose(taken);
        if (taken.empty()) {
            const std::string path = folder + "/" + name;
            if (asFolder) {
                fs::create_directory(path);
                writeFile(path + "/theirs.txt", text);
            } else {
                writeFile(path, text);
            }
        }
        return name;
    };
}

// The errno of a refused transfer, none when it went through.
std::optional<int> refusal(const TransferResult& result) {
    const auto* failure = std::get_if<FileOpFailure>(&result);
    return failure != nullptr ? std::optional(failure->errnoValue) : std::nullopt;
}

class FileTransferTest : public ::testing::Test {
  protected:
    test::TempTree tree;
};

TEST_F(FileTransferTest, CopyKeepsLinksModesAndTimesAndLeavesNoTemporaryName) {
    const std::string file = tree.file("src/f", 5000);
    ASSERT_EQ(::chmod(file.c_str(), 0640), 0);
    const struct timespec old[2] = {{1000000, 0}, {2000000, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, file.c_str(), old, 0), 0);
    ASSERT_EQ(::symlink("../../outside", tree.path("src/link").c_str()), 0);
    ASSERT_EQ(::chmod(tree.path("src").c_str(), 0750), 0);
    const std::string into = tree.folder("into");

    auto copied = copyItemInto(tree.path("src"), into, numbered("dst"));
    ASSERT_EQ(std::get<std::string>(copied), "dst");
    EXPECT_EQ(namesIn(into), std::set<std::string>{"dst"});
    struct stat info {};
    ASSERT_EQ(::lstat((into + "/dst").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0750u);
    ASSERT_EQ(::lstat((into + "/dst/f").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(info.st_mtim.tv_sec, 2000000);
    ASSERT_EQ(::lstat((into + "/dst/link").c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    EXPECT_EQ(contentsOf(into + "/dst/f"), contentsOf(file));
}

TEST_F(FileTransferTest, ANameTakenBeforeOrDuringTheTransferKeepsItsContentsAndTheNextNameIsUsed) {
    const std::string into = tree.folder("into");
    writeFile(tree.path("mine.txt"), "the item's own bytes");
    writeFile(into + "/item", "there before");

    // Taken before: the chooser is told and gives the next name.
    auto moved = moveItemInto(tree.path("mine.txt"), into, numbered("item"));
    ASSERT_EQ(std::get<std::string>(moved), "item 2");
    EXPECT_EQ(contentsOf(into + "/item"), "there before");
    EXPECT_EQ(contentsOf(into + "/item 2"), "the item's own bytes");

    // Taken between the choice and the create, for a rename, a copy of a
    // file and a copy of a folder alike.
    const std::string racedInto = tree.folder("raced");
    writeFile(tree.path("again.txt"), "moved bytes");
    moved = moveItemInto(tree.path("again.txt"), racedInto, takenJustInTime(racedInto, "theirs"));
    ASSERT_EQ(std::get<std::string>(moved), "item 2");
    EXPECT_EQ(contentsOf(racedInto + "/item"), "theirs");
    EXPECT_EQ(contentsOf(racedInto + "/item 2"), "moved bytes");

    const std::string copyInto = tree.folder("copies");
    auto copied = copyItemInto(into + "/item 2", copyInto, takenJustInTime(copyInto, "theirs too"));
    ASSERT_EQ(std::get<std::string>(copied), "item 2");
    EXPECT_EQ(contentsOf(copyInto + "/item"), "theirs too");
    EXPECT_EQ(contentsOf(copyInto + "/item 2"), "the item's own bytes");

    const std::string folderInto = tree.folder("folders");
    tree.file("tree/a/b.bin", 3000);
    copied = copyItemInto(tree.path("tree"), folderInto, takenJustInTime(folderInto, "kept", true));
    ASSERT_EQ(std::get<std::string>(copied), "item 2");
    EXPECT_EQ(namesIn(folderInto + "/item"), std::set<std::string>{"theirs.txt"});
    EXPECT_EQ(contentsOf(folderInto + "/item/theirs.txt"), "kept");
    EXPECT_EQ(fs::file_size(folderInto + "/item 2/a/b.bin"), 3000u);
    EXPECT_EQ(namesIn(folderInto), (std::set<std::string>{"item", "item 2"}))
        << "no temporary copy is left behind";
}

TEST_F(FileTransferTest, WithNoFreeNameNothingIsReplacedAndTheTemporaryCopyGoes) {
    const std::string into = tree.folder("into");
    writeFile(into + "/same", "keep me");
    writeFile(tree.path("src"), "source");
    auto always = [](const std::vector<std::string>&) { return std::string("same"); };

    EXPECT_EQ(refusal(copyItemInto(tree.path("src"), into, always)), EEXIST);
    EXPECT_TRUE(refusal(moveItemInto(tree.path("src"), into, always)));
    EXPECT_EQ(contentsOf(into + "/same"), "keep me");
    EXPECT_EQ(contentsOf(tree.path("src")), "source");
    EXPECT_EQ(namesIn(into), std::set<std::string>{"same"});

    EXPECT_TRUE(refusal(copyItemInto(tree.path("src"), into, numbered("../escape"))));
    EXPECT_FALSE(fs::exists(tree.path("escape")));
}

TEST_F(FileTransferTest, NamesWithQuotesNewlinesDashesAndInvalidUtf8ArriveAsWritten) {
    const std::string odd = "-\"$(touch x)\"\nline\xff\xfe.txt";
    writeFile(tree.path(odd), "odd");
    const std::string into = tree.folder("into");
    ASSERT_EQ(std::get<std::string>(copyItemInto(tree.path(odd), into, numbered(odd))), odd);
    ASSERT_EQ(std::get<std::string>(moveItemInto(tree.path(odd), into, numbered(odd))), odd + " 2");
    EXPECT_EQ(contentsOf(into + "/" + odd), "odd");
    EXPECT_EQ(contentsOf(into + "/" + odd + " 2"), "odd");
    EXPECT_FALSE(fs::exists(tree.path("x")));
}

TEST_F(FileTransferTest, AFolderIsNotPutIntoItself) {
    tree.file("src/f", 10);
    const std::string inside = tree.folder("src/deeper");
    EXPECT_EQ(refusal(copyItemInto(tree.path("src"), inside, numbered("again"))), EINVAL);
    EXPECT_EQ(refusal(moveItemInto(tree.path("src"), inside, numbered("again"))), EINVAL);
    EXPECT_TRUE(namesIn(inside).empty());
}

// The rename used where the file system cannot refuse to replace.
TEST_F(FileTransferTest, ReservingRenameNeverReplacesAFileOrAnEmptyFolder) {
    writeFile(tree.path("a"), "a's bytes");
    writeFile(tree.path("taken"), "taken's bytes");
    const std::string emptyFolder = tree.folder("emptyTaken");
    tree.folder("movingFolder/inner");

    auto rename = [&](const char* from, const char* to) {
        return renameAtWithoutReplacingByReserving(AT_FDCWD, tree.path(from), AT_FDCWD,
                                                   tree.path(to));
    };
    EXPECT_EQ(rename("a", "taken"), EEXIST);
    EXPECT_EQ(contentsOf(tree.path("taken")), "taken's bytes");
    EXPECT_EQ(contentsOf(tree.path("a")), "a's bytes");

    // A plain rename would replace an empty folder without a word.
    EXPECT_EQ(rename("movingFolder", "emptyTaken"), EEXIST);
    EXPECT_TRUE(fs::is_directory(tree.path("movingFolder/inner")));
    EXPECT_TRUE(fs::is_empty(emptyFolder));

    EXPECT_EQ(rename("a", "free"), 0);
    EXPECT_EQ(contentsOf(tree.path("free")), "a's bytes");
    EXPECT_FALSE(fs::exists(tree.path("a")));
    EXPECT_EQ(rename("movingFolder", "freeFolder"), 0);
    EXPECT_TRUE(fs::is_directory(tree.path("freeFolder/inner")));
    EXPECT_FALSE(fs::exists(tree.path("movingFolder")));
}

}  // namespace
}  // namespace korvex::platform
