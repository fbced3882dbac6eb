#include "cleanup/elevated/FileBashScripts.h"
#include "cleanup/elevated/GenericBashScripts.h"
#include "cleanup/elevated/MoveToTrashUsingFinderBashScript.h"
#include "cleanup/elevated/ProcessBashScripts.h"
#include "cleanup/elevated/ShellPathUtil.h"
#include "elevated/ElevatedTestSupport.h"
#include "platform/fs/InodeFlags.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace korvex {
namespace {

namespace fs = std::filesystem;
using test::existsNoFollow;
using test::runBash;

// Names built to break quoting: every character bash treats specially inside
// or outside double quotes, line breaks, a leading dash and bytes that are
// not UTF-8.
const std::vector<std::string>& hostileNames() {
    static const std::vector<std::string> names{
        "say \"hi\"",    "back\\slash",      "ends with\\", "$(touch pwned)",
        "`touch pwned`", "${HOME}",          "$HOME",       "two\nlines",
        "-rf",           "--help",           "it's",        "a!b",
        "tab\there",     "\xff\xfe invalid", "*",           "semi;colon &",
        "\\\"$`",
    };
    return names;
}

TEST(ShellQuoting, EscapesExactlyWhatBashExpandsInsideDoubleQuotes) {
    EXPECT_EQ(ShellPathUtil::escapedPath("a\"b\\c"), "a\\\"b\\\\c");
    EXPECT_EQ(ShellPathUtil::shelledPath("/x/$(id)/`id`"), "\"/x/\\$(id)/\\`id\\`\"");
    EXPECT_EQ(ShellPathUtil::shelledPath("it's a!\nb"), "\"it's a!\nb\"");
    EXPECT_EQ(ShellPathUtil::shelledPath(""), "\"\"");
}

TEST(ShellQuoting, BashReadsEveryHostileNameBackUnchanged) {
    test::TempTree tree;
    for (const std::string& name : hostileNames()) {
        const std::string path = tree.path(name);
        const test::BashRun run =
            runBash(tree, "cd " + ShellPathUtil::shelledPath(tree.path()) + "\nprintf '%s' " +
                              ShellPathUtil::shelledPath(path) + "\n");
        EXPECT_EQ(run.status, 0) << name;
        EXPECT_EQ(run.output, path) << name;
    }
    EXPECT_FALSE(existsNoFollow(tree.path("pwned")));
}

TEST(ScriptTexts, FixedTexts) {
    EXPECT_EQ(EmptyBashScript().buildScript(), "# empty script :)");
    EXPECT_EQ(CustomBashScript::waitSeconds(2)->buildScript(), "sleep 2");
    EXPECT_EQ(CustomBashScript::waitSeconds(0.5)->buildScript(), "sleep 0.5");
    EXPECT_EQ(UnlockSystemLockedFilesScript({"/a \"1\"", "/b"}).buildScript(),
              "chattr -i \"/a \\\"1\\\"\" \"/b\" \nchattr -a \"/a \\\"1\\\"\" \"/b\" ");
    EXPECT_EQ(MoveFileUsingShellBashScript("/from/$x", "/to").buildScript(),
              "cp -a \"/from/\\$x\" \"/to\"");
    EXPECT_EQ(LaunchAppBashScript::initWithPaths({"/a b.txt"})->buildScript(),
              "xdg-open \"/a b.txt\"\n");
    EXPECT_EQ(LaunchAppBashScript::initWithNames({"org.gnome.Nautilus", "b"})->buildScript(),
              "gtk-launch \"org.gnome.Nautilus\"\ngtk-launch \"b\"\n");
}

TEST(ScriptTexts, CompoundScriptsNumberTheirPartsAndAnEmptyOneIsEmpty) {
    EXPECT_EQ(CompoundBashScript({}, true).buildScript(), "");
    const CompoundBashScript compound(
        {std::make_shared<EmptyBashScript>(), CustomBashScript::waitSeconds(1)}, false);
    EXPECT_EQ(compound.buildScript(), "# script 1 \n# empty script :)# script 2 \nsleep 1");
    EXPECT_FALSE(compound.requireAdminPrivileges());
}

TEST(ScriptTexts, KillScriptFindsRunningProgramsByName) {
    const PkillBashScript none({"no-such-program-korvex"});
    EXPECT_EQ(none.buildScript(), "kill -9 ");
    std::string self;
    std::getline(std::ifstream("/proc/self/comm"), self);
    const PkillBashScript mine({self});
    const std::string pid = std::to_string(::getpid());
    ASSERT_FALSE(mine.processPIDs().empty());
    EXPECT_NE(std::find(mine.processPIDs().begin(), mine.processPIDs().end(), pid),
              mine.processPIDs().end());
    EXPECT_EQ(mine.buildScript().rfind("kill -9 ", 0), 0u);
}

TEST(PermanentRemovalScript, RemovesHostileNamesAndNothingBeside) {
    test::TempTree tree;
    std::vector<std::string> doomed;
    for (const std::string& name : hostileNames()) {
        doomed.push_back(tree.file("doomed/" + name, 10));
    }
    doomed.push_back(tree.file("doomed/folder \"$(x)\"/inner", 10));
    doomed.back() = tree.path("doomed/folder \"$(x)\"");
    const std::string keep = tree.file("doomed/keep", 10);
    const std::string star = tree.file("doomed/starred", 10);

    const std::string script = RemovePermanentlyBashScript(doomed).buildScript();
    const test::BashRun run = runBash(tree, script);
    EXPECT_EQ(run.status, 0) << run.output;
    for (const std::string& path : doomed) {
        EXPECT_FALSE(existsNoFollow(path)) << path;
    }
    EXPECT_TRUE(existsNoFollow(keep));
    EXPECT_TRUE(existsNoFollow(star));
    EXPECT_FALSE(existsNoFollow(tree.path("pwned")));
    EXPECT_FALSE(existsNoFollow(tree.path("doomed/pwned")));
}

TEST(PermanentRemovalScript, ClearsLocksOfTheItemAndItsParentBeforeRemoving) {
    test::TempTree tree;
    const std::string folder = tree.folder("locked $dir");
    const std::string file = tree.file("locked $dir/frozen \"x\"", 10);
    if (runBash(tree, "chattr +i " + ShellPathUtil::shelledPath(file) + " && chattr +a " +
                          ShellPathUtil::shelledPath(folder))
            .status != 0) {
        GTEST_SKIP() << "no rights to set the immutable attribute here";
    }
    const std::string script = RemovePermanentlyBashScript({file}).buildScript();
    EXPECT_EQ(script, "chattr -a " + ShellPathUtil::shelledPath(folder) + "\nchattr -i " +
                          ShellPathUtil::shelledPath(file) + "\nrm -rf " +
                          ShellPathUtil::shelledPath(file) + "\n");
    const test::BashRun run = runBash(tree, script);
    EXPECT_FALSE(existsNoFollow(file)) << run.output;
    auto flags = platform::inodeFlags(folder);
    ASSERT_TRUE(flags);
    EXPECT_FALSE(flags->appendOnly);
}

TEST(CopyScript, CopiesHostileNamesWithTheirAttributes) {
    test::TempTree tree;
    for (const std::string& name : hostileNames()) {
        const std::string from = tree.file("from/" + name, 100);
        ::chmod(from.c_str(), 0640);
        const std::string to = tree.folder("to") + "/" + name;
        const test::BashRun run =
            runBash(tree, MoveFileUsingShellBashScript(from, to).buildScript());
        EXPECT_EQ(run.status, 0) << name << run.output;
        EXPECT_TRUE(existsNoFollow(from)) << name;
        EXPECT_EQ(fs::file_size(to), 100u) << name;
        EXPECT_EQ(fs::status(to).permissions() & fs::perms::all,
                  fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    }
}

TEST(DesktopTrashScript, TrashesHostileNamesThroughTheDesktopService) {
    test::TempTree tree;
    if (runBash(tree, "command -v gio").status != 0) {
        GTEST_SKIP() << "gio is not installed";
    }
    test::ScopedEnvironment data("XDG_DATA_HOME", tree.folder("data"));
    std::vector<std::string> paths;
    for (const std::string& name :
         {std::string("say \"hi\""), std::string("$(touch pwned)"), std::string("two\nlines")}) {
        paths.push_back(tree.file("items/" + name, 10));
    }
    const test::BashRun run = runBash(tree, MoveToTrashUsingFinderBashScript(paths).buildScript());
    EXPECT_EQ(run.output, "");
    for (const std::string& path : paths) {
        EXPECT_FALSE(existsNoFollow(path));
    }
    EXPECT_TRUE(existsNoFollow(tree.path("data/Trash/files/say \"hi\"")));
    EXPECT_FALSE(existsNoFollow(tree.path("pwned")));

    const test::BashRun missing =
        runBash(tree, MoveToTrashUsingFinderBashScript({tree.path("gone")}).buildScript());
    EXPECT_EQ(missing.output.rfind("HVERROR;1;", 0), 0u) << missing.output;
    EXPECT_NE(missing.output.find("HVERROREND"), std::string::npos);
}

}  // namespace
}  // namespace korvex
