#include "access/AccessChecker.h"
#include "access/AccessQuestions.h"
#include "access/DiskAccessRestoreManager.h"
#include "access/SystemFilesChecker.h"
#include "app/settings/Settings.h"
#include "platform/settings/SettingsStore.h"
#include "scan/format/PathsGenerator.h"
#include "support/TempSettings.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <filesystem>

namespace korvex {
namespace {

const std::string& home() {
    return PathsGenerator::GetInstance().getHomeDirectory();
}

class WithSettingsFile : public ::testing::Test {
  protected:
    void SetUp() override {
        platform::SettingsStore::useStandardFile(tree.path("settings.json"));
        platform::SettingsStore::discardStandard();
        Settings::resetCache();
    }
    void TearDown() override {
        Settings::resetCache();
        platform::SettingsStore::discardStandard();
        platform::SettingsStore::useStandardFile({});
    }
    test::TempTree tree;
};

TEST(AccessCheck, AskAboutMediaRootsAndExactlyTheProtectedFolders) {
    EXPECT_TRUE(AccessChecker::shouldAskToGrantAccessForPath("/media/usb"));
    EXPECT_TRUE(AccessChecker::shouldAskToGrantAccessForPath("/run/media/u/disk"));
    EXPECT_TRUE(AccessChecker::shouldAskToGrantAccessForPath("/mnt/share"));
    EXPECT_FALSE(AccessChecker::shouldAskToGrantAccessForPath("/media"));
    const std::string downloads = PathsGenerator::GetInstance().buildUserDownloadsDirectory();
    EXPECT_TRUE(AccessChecker::shouldAskToGrantAccessForPath(downloads));
    EXPECT_FALSE(AccessChecker::shouldAskToGrantAccessForPath(downloads + "/x"));
    EXPECT_FALSE(AccessChecker::shouldAskToGrantAccessForPath(home()));
}

TEST(AccessCheck, OnlyDeniedProtectedFoldersAreListedInTildeForm) {
    FolderRef root =
        FolderSystemItem::initWithPathSizeNoParent(home(), nullptr, 0, false, 0, false, false);
    const PathsGenerator& paths = PathsGenerator::GetInstance();
    FolderSystemItem* downloads =
        root->getFolderItemByFolderPath(paths.buildUserDownloadsDirectory());
    FolderSystemItem* desktop = root->getFolderItemByFolderPath(paths.buildUserDesktopDirectory());
    ASSERT_NE(downloads, nullptr);
    ASSERT_NE(desktop, nullptr);
    downloads->setAccessDenied(true);
    std::vector<std::string> denied = AccessChecker::inaccessibleFoldersIn(*root);
    ASSERT_EQ(denied.size(), 1u);
    EXPECT_EQ(denied[0].front(), '~');
    EXPECT_TRUE(denied[0].ends_with(
        std::filesystem::path(paths.buildUserDownloadsDirectory()).filename().string()));
}

TEST_F(WithSettingsFile, KeptAccessIsFoundOnlyUnderTheIdenticalPath) {
    DiskAccessRestoreManager& manager = DiskAccessRestoreManager::sharedManager();
    std::string folder = tree.folder("granted");
    EXPECT_EQ(manager.restoreAccessToPathIfNeeded(folder), folder);  // readable anyway
    EXPECT_FALSE(manager.restoreAccessToPathIfNeeded(tree.path("missing")).has_value());
    manager.saveAccessToPath(folder);
    EXPECT_EQ(platform::SettingsStore::standard().objectForKey(folder), nlohmann::json(folder));
    EXPECT_FALSE(manager.isPathAccessible(""));
    EXPECT_FALSE(manager.isPathAccessible(tree.path("missing")));
    EXPECT_TRUE(manager.isPathAccessible(folder));
    manager.saveAccessToDisk();
    EXPECT_EQ(manager.restoreAccessToDiskIfNeeded(), "/");
}

TEST(SystemFiles, TopLevelSystemFoldersOnly) {
    EXPECT_TRUE(SystemFilesChecker::isSystemFileAt("/usr"));
    EXPECT_TRUE(SystemFilesChecker::isSystemFileAt("/etc"));
    EXPECT_FALSE(SystemFilesChecker::isSystemFileAt("/usr/bin"));
    EXPECT_FALSE(SystemFilesChecker::isSystemFileAt("/usr/"));
}

class RecordingAlerts : public GrantAccessAlertManager {
  public:
    void show(const AccessSheetText& sheet, std::function<void(bool)> done) override {
        shown.push_back(sheet);
        done(pressFirst);
    }
    void showWithSuppression(const AccessSheetText& sheet,
                             std::function<void(bool, bool)> done) override {
        shown.push_back(sheet);
        withSuppression = true;
        done(pressFirst, tickSuppress);
    }
    std::vector<AccessSheetText> shown;
    bool withSuppression = false;
    bool pressFirst = true;
    bool tickSuppress = false;
};

class Questions : public WithSettingsFile {
  protected:
    AccessQuestions questions() {
        return AccessQuestions(alerts, {[this] { ++settingsOpened; }, [this] { ++rescans; },
                                        [this] { return scanning; }});
    }
    FolderRef homeWithDeniedDownloads() {
        FolderRef root =
            FolderSystemItem::initWithPathSizeNoParent(home(), nullptr, 0, false, 0, false, false);
        root->getFolderItemByFolderPath(PathsGenerator::GetInstance().buildUserDownloadsDirectory())
            ->setAccessDenied(true);
        return root;
    }
    RecordingAlerts alerts;
    int settingsOpened = 0;
    int rescans = 0;
    bool scanning = false;
};

TEST_F(Questions, DeniedMediaRootAsksToGrantAccessEvenWhenSuppressed) {
    Settings::setSuppressSomeFoldersNotScannedAlert(true);
    FolderRef root = FolderSystemItem::initWithPathSizeNoParent("/media/stick", nullptr, 0, false,
                                                                0, false, false);
    root->setAccessDenied(true);
    EXPECT_TRUE(questions().afterScan(*root));
    ASSERT_EQ(alerts.shown.size(), 1u);
    EXPECT_EQ(alerts.shown[0].message, "Cannot scan the folder");
    EXPECT_NE(alerts.shown[0].informative.find("\"/media/stick\" folder"), std::string::npos);
    EXPECT_EQ(settingsOpened, 1);
}

TEST_F(Questions, DeniedProtectedFoldersAskOnceUnlessSuppressed) {
    FolderRef root = homeWithDeniedDownloads();
    alerts.tickSuppress = true;
    alerts.pressFirst = false;
    EXPECT_TRUE(questions().afterScan(*root));
    ASSERT_EQ(alerts.shown.size(), 1u);
    EXPECT_TRUE(alerts.withSuppression);
    EXPECT_EQ(alerts.shown[0].message, "Folder was not scanned due to lack of access");
    EXPECT_EQ(settingsOpened, 0);
    EXPECT_TRUE(Settings::suppressSomeFoldersNotScannedAlert());
    EXPECT_FALSE(questions().afterScan(*root));  // suppressed from now on
    EXPECT_EQ(alerts.shown.size(), 1u);
}

TEST_F(Questions, FolderRowOffersRescanOnlyWhenIdle) {
    EXPECT_FALSE(questions().forFolder(nullptr));
    FolderRef root =
        FolderSystemItem::initWithPathSizeNoParent("/mnt", nullptr, 0, false, 0, false, false);
    // Still unreadable: the question is the grant one, for this folder alone.
    FolderSystemItem* missing = root->getFolderItemByFolderPath("/mnt/korvex-missing-folder");
    EXPECT_TRUE(questions().forFolder(missing));
    EXPECT_EQ(alerts.shown.back().message, "Folder was not scanned due to lack of access");
    EXPECT_FALSE(alerts.withSuppression);

    // Readable now: access came after the scan, so a rescan is offered.
    std::string made = "/mnt/korvex-test-" + std::to_string(::getpid());
    std::error_code ec;
    if (!std::filesystem::create_directory(made, ec)) {
        GTEST_SKIP() << "cannot make a folder below /mnt";
    }
    FolderSystemItem* row = root->getFolderItemByFolderPath(made);
    scanning = true;
    EXPECT_TRUE(questions().forFolder(row));
    EXPECT_EQ(alerts.shown.back().message, "The folder was not scanned");
    EXPECT_EQ(rescans, 0);
    scanning = false;
    EXPECT_TRUE(questions().forFolder(row));
    EXPECT_EQ(rescans, 1);
    std::filesystem::remove(made, ec);
}

}  // namespace
}  // namespace korvex
