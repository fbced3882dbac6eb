#include "platform/UserFolders.h"
#include "support/ScopedVariable.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

#include <fstream>
#include <string>

namespace korvex::platform {
namespace {

UserFolders::Environment environmentIn(const test::TempTree& tree) {
    UserFolders::Environment env;
    env.home = tree.path("home");
    env.userName = "tester";
    return env;
}

TEST(UserDirValues, HomeRelativeAndAbsoluteValuesOnly) {
    EXPECT_EQ(parseUserDirValue("\"$HOME/Downloads\"", "/h"), "/h/Downloads");
    EXPECT_EQ(parseUserDirValue("\"$HOME/\"", "/h"), "/h/");
    EXPECT_EQ(parseUserDirValue("\"/data/pics\"", "/h"), "/data/pics");
    EXPECT_EQ(parseUserDirValue("\"relative/dir\"", "/h"), std::nullopt);
    EXPECT_EQ(parseUserDirValue("\"$HOMEX/a\"", "/h"), std::nullopt);
}

TEST(UserFoldersLayout, XdgDefaultsAndUserDirectories) {
    test::TempTree tree;
    UserFolders::Environment env = environmentIn(tree);
    {
        UserFolders plain(env);
        EXPECT_EQ(plain.desktop(), env.home + "/Desktop");
        EXPECT_EQ(plain.downloads(), env.home + "/Downloads");
        EXPECT_EQ(plain.trash(), env.home + "/.local/share/Trash");
        EXPECT_EQ(plain.cacheHome(), env.home + "/.cache");
        EXPECT_EQ(plain.dataHome(), env.home + "/.local/share");
    }
    std::ofstream(tree.file("home/.config/user-dirs.dirs"))
        << "# written by xdg-user-dirs-update\n"
           "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n"
           "XDG_DOWNLOAD_DIR=\"/srv/downloads\"\n"
           "XDG_PICTURES_DIR=\"nope\"\n";
    env.xdgDataHome = tree.path("data");
    UserFolders custom(env);
    EXPECT_EQ(custom.desktop(), env.home + "/Schreibtisch");
    EXPECT_EQ(custom.downloads(), "/srv/downloads");
    EXPECT_EQ(custom.pictures(), env.home + "/Pictures");  // relative value ignored
    EXPECT_EQ(custom.trash(), tree.path("data") + "/Trash");
    EXPECT_EQ(custom.dataHome(), tree.path("data"));
    EXPECT_EQ(custom.userName(), "tester");
}

TEST(UserFoldersHome, HomeVariableWinsOverTheUserDatabase) {
    {
        test::ScopedVariable home("HOME", "/srv/elsewhere");
        EXPECT_EQ(UserFolders::systemEnvironment().home, "/srv/elsewhere");
    }
    {
        // Unset (or not absolute): the user database tells.
        test::ScopedVariable home("HOME", nullptr);
        const passwd* entry = ::getpwuid(::getuid());
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(UserFolders::systemEnvironment().home, entry->pw_dir);
    }
}

}  // namespace
}  // namespace korvex::platform
