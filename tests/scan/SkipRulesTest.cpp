#include "scan/skip/FullDiskAccess.h"
#include "scan/skip/PackageRules.h"
#include "scan/skip/TWalkerSkipList.h"

#include <gtest/gtest.h>

namespace korvex {
namespace {

class FixedAccess : public FullDiskAccess {
  public:
    explicit FixedAccess(bool granted) : mGranted(granted) {}
    bool isFullDiskAccessGranted() const override { return mGranted; }

  private:
    bool mGranted;
};

class SkipRules : public ::testing::Test {
  protected:
    void TearDown() override { FullDiskAccess::setCurrent(nullptr); }
    platform::UserFolders folders{platform::UserFolders::Environment{"/home/t", "t", "", "", ""}};
    TWalkerSkipList skip{folders};
    const std::string library = "/home/t/.local/share";
};

TEST_F(SkipRules, ProtectedNamesOnlyInTheirOwnFolder) {
    EXPECT_TRUE(skip.isInExcludeListName("Calendars", library));
    EXPECT_FALSE(skip.isInExcludeListName("calendars", library));
    EXPECT_FALSE(skip.isInExcludeListName("Calendars", "/home/t"));
    EXPECT_FALSE(skip.isInExcludeListName("Calendars", library + "/x"));
    EXPECT_TRUE(skip.isInExcludeListName("AddressBook", library));
    EXPECT_FALSE(skip.isInExcludeListName("Documents", library));
}

TEST_F(SkipRules, ContainersDependOnFullDiskAccess) {
    FullDiskAccess::setCurrent(std::make_shared<FixedAccess>(false));
    EXPECT_TRUE(skip.isInExcludeListName("Containers", library));
    FullDiskAccess::setCurrent(std::make_shared<FixedAccess>(true));
    EXPECT_FALSE(skip.isInExcludeListName("Containers", library));
}

TEST(PackageRule, CaseSensitiveSuffixes) {
    EXPECT_TRUE(isPackageName("Mail.app"));
    EXPECT_TRUE(isPackageName("Photos Library.photoslibrary"));
    EXPECT_TRUE(isPackageName("x.bundle"));
    EXPECT_FALSE(isPackageName("Mail.APP"));
    EXPECT_FALSE(isPackageName("app"));
    EXPECT_FALSE(isPackageName("notes.apps"));
    EXPECT_TRUE(isHiddenName(".git"));
    EXPECT_FALSE(isHiddenName("git."));
    EXPECT_FALSE(isHiddenName(""));
}

}  // namespace
}  // namespace korvex
