#include "scan/skip/PackageRules.h"

#include <gtest/gtest.h>

namespace korvex {
namespace {

TEST(PackageRule, OnlyLinuxApplicationFoldersAreOneItem) {
    EXPECT_TRUE(isPackageName("Krita.AppDir"));
    EXPECT_FALSE(isPackageName(".AppDir"));
    EXPECT_FALSE(isPackageName("Krita.appdir"));
    // Folder names that are bundles elsewhere are plain folders of Linux programs.
    EXPECT_FALSE(isPackageName("Mail.app"));
    EXPECT_FALSE(isPackageName("gst.bundle"));
    EXPECT_FALSE(isPackageName("ladspa.plugin"));
    EXPECT_TRUE(isHiddenName(".git"));
    EXPECT_FALSE(isHiddenName("git."));
    EXPECT_FALSE(isHiddenName(""));
}

}  // namespace
}  // namespace korvex
