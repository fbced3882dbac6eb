#include "cleanup/elevated/BashTaskResult.h"
#include "cleanup/elevated/MoveToTrashUsingShellBashScript.h"
#include "cleanup/elevated/ShellPathUtil.h"
#include "elevated/ElevatedTestSupport.h"

#include <gtest/gtest.h>

#include <sys/mount.h>
#include <unistd.h>

#include <filesystem>
#include <regex>

namespace korvex {
namespace {

namespace fs = std::filesystem;
using test::existsNoFollow;
using test::readFile;

std::string percentEncoded(const std::string& path) {
    static const char* hex = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : path) {
        if (std::isalnum(c) || c == '/' || c == '-' || c == '.' || c == '_' || c == '~') {
            out.push_back(static_cast<char>(c));
        } else {
            out += {'%', hex[c >> 4], hex[c & 15]};
        }
    }
    return out;
}

class TrashScript : public ::testing::Test {
  protected:
    test::BashRun trash(const std::vector<std::string>& paths) {
        return test::runBash(
            tree, MoveToTrashUsingShellBashScript(paths, homeTrash, ::getuid()).buildScript());
    }
    test::TempTree tree;
    std::string homeTrash = tree.path("home/.local/share/Trash");
};

TEST_F(TrashScript, ScriptIsThePreludeThenOneCallPerPath) {
    const MoveToTrashUsingShellBashScript script({"/a", "/b \"c\""}, "/h/Trash", 1000);
    EXPECT_TRUE(script.requireAdminPrivileges());
    EXPECT_EQ(script.buildScript(),
              script.contents() + "\n\nmovetotrash \"/a\"\nmovetotrash \"/b \\\"c\\\"\"");
    EXPECT_NE(script.contents().find("uid=1000\nhometrash=\"/h/Trash\"\n"), std::string::npos);
}

TEST_F(TrashScript, HostileNamesGoToTheHomeTrashWithTheirOriginalPath) {
    const std::vector<std::string> names{
        "say \"hi\"", "$(touch pwned)", "`touch pwned`",  "two\nlines",
        "-rf",        "back\\slash",    "\xff\xfe bytes", "100% sure?#"};
    std::vector<std::string> paths;
    for (const std::string& name : names) {
        paths.push_back(tree.file("items/" + name, 10));
    }
    const test::BashRun run = trash(paths);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.output, "");
    const std::regex dateLine("DeletionDate=\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\n");
    for (std::size_t i = 0; i < names.size(); ++i) {
        EXPECT_FALSE(existsNoFollow(paths[i])) << names[i];
        EXPECT_EQ(fs::file_size(homeTrash + "/files/" + names[i]), 10u) << names[i];
        const std::string info = readFile(homeTrash + "/info/" + names[i] + ".trashinfo");
        EXPECT_EQ(info.rfind("[Trash Info]\nPath=" + percentEncoded(paths[i]) + "\n", 0), 0u)
            << info;
        EXPECT_TRUE(std::regex_search(info, dateLine)) << info;
    }
    EXPECT_FALSE(existsNoFollow(tree.path("pwned")));
    EXPECT_FALSE(existsNoFollow(tree.path("items/pwned")));
}

TEST_F(TrashScript, TakenNamesGetNumbersBeforeTheLastExtensionOfFilesOnly) {
    for (int round = 0; round < 3; ++round) {
        trash({tree.file("x", 1), tree.file("a.tar.gz", 1), tree.folder("d.app"),
               tree.file(".hidden", 1)});
    }
    for (const char* name : {"x", "x 1", "x 2", "a.tar.gz", "a.tar 1.gz", "a.tar 2.gz", "d.app",
                             "d.app 1", "d.app 2", ".hidden", ".hidden 1", ".hidden 2"}) {
        EXPECT_TRUE(existsNoFollow(homeTrash + "/files/" + name)) << name;
        EXPECT_TRUE(existsNoFollow(homeTrash + "/info/" + name + ".trashinfo")) << name;
    }
    EXPECT_FALSE(existsNoFollow(homeTrash + "/files/x 3"));
}

TEST_F(TrashScript, AnEntryLeftInFilesOrInfoAloneStillBlocksItsName) {
    test::writeFile(tree.folder("home/.local/share/Trash/files") + "/y", "");
    test::writeFile(tree.folder("home/.local/share/Trash/info") + "/y 1.trashinfo", "");
    trash({tree.file("y", 1)});
    EXPECT_TRUE(existsNoFollow(homeTrash + "/files/y 2"));
    EXPECT_TRUE(existsNoFollow(homeTrash + "/info/y 2.trashinfo"));
}

TEST_F(TrashScript, MissingItemsAndRefusedMovesAreReportedAsErrorBlocks) {
    // Run as an unprivileged user: "nobody" when the tests run as root.
    std::vector<std::string> asUser;
    uid_t uid = ::getuid();
    if (::geteuid() == 0) {
        asUser = {"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"};
        uid = 65534;
        fs::permissions(tree.root(), fs::perms::all);
        ::chown(tree.folder("home").c_str(), uid, uid);
    }
    const std::string locked = tree.file("locked/item", 1);
    ::chmod(tree.path("locked").c_str(), 0555);
    const std::string missing = tree.path("gone \"x\"");
    const test::BashRun run = test::runBash(
        tree, MoveToTrashUsingShellBashScript({missing, locked}, homeTrash, uid).buildScript(),
        asUser);
    ::chmod(tree.path("locked").c_str(), 0755);

    const auto errors = errorsInScriptOutput(run.output);
    ASSERT_EQ(errors.size(), 2u) << run.output;
    EXPECT_EQ(errors[0].code, 2);
    EXPECT_EQ(errors[0].description, missing + " does not exist.");
    EXPECT_EQ(errors[1].code, 1);
    EXPECT_NE(errors[1].description.find(locked), std::string::npos);
    EXPECT_TRUE(existsNoFollow(locked));
    // The information written before the refused move is taken back.
    EXPECT_TRUE(fs::is_empty(homeTrash + "/info"));
}

// A file system of its own gets a Trash at its top: ".Trash-uid", or
// ".Trash/uid" when the volume has a shared sticky ".Trash".
TEST_F(TrashScript, ItemsOnAnotherFileSystemUseThatVolumesTrash) {
    const std::string volume = tree.folder("volume");
    if (::mount("korvex-test", volume.c_str(), "tmpfs", 0, "size=1m") != 0) {
        GTEST_SKIP() << "no rights to mount a file system for the test";
    }
    const std::string uid = std::to_string(::getuid());
    const std::string first = volume + "/first";
    test::writeFile(first, "1");
    trash({first});
    EXPECT_TRUE(existsNoFollow(volume + "/.Trash-" + uid + "/files/first"));
    EXPECT_EQ(readFile(volume + "/.Trash-" + uid + "/info/first.trashinfo")
                  .rfind("[Trash Info]\nPath=" + percentEncoded(first) + "\n", 0),
              0u);

    fs::create_directory(volume + "/.Trash");
    fs::permissions(volume + "/.Trash", fs::perms::all | fs::perms::sticky_bit);
    const std::string second = volume + "/second";
    test::writeFile(second, "2");
    trash({second});
    EXPECT_TRUE(existsNoFollow(volume + "/.Trash/" + uid + "/files/second"));
    ::umount(volume.c_str());
}

}  // namespace
}  // namespace korvex
