#include "access/AccessChecker.h"
#include "access/AccessQuestions.h"
#include "access/DiskAccessRestoreManager.h"
#include "app/settings/Settings.h"
#include "platform/settings/SettingsStore.h"
#include "scan/format/PathsGenerator.h"
#include "support/MemoryTree.h"
#include "support/TempSettings.h"

#include <gtest/gtest.h>

#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>

namespace korvex {
namespace {

const std::string& home() {
    return PathsGenerator::GetInstance().getHomeDirectory();
}

class WithSettingsFile : public ::testing::Test {
  protected:
    test::TempSettings settings;
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
    FolderRef root = test::memoryRoot(home());
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
        FolderRef root = test::memoryRoot(home());
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
    FolderRef root = test::memoryRoot("/media/stick");
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

// A tmpfs over /mnt in a mount namespace of this process alone: the test makes
// folders below a media root without touching the machine's /mnt.
class PrivateMediaRoot {
  public:
    PrivateMediaRoot() {
        if (::unshare(CLONE_NEWNS) != 0) {
            mFailure = std::string("no mount namespace of its own: ") + std::strerror(errno);
        } else if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
            mFailure = std::string("mounts stay shared: ") + std::strerror(errno);
        } else if (::mount("korvex-test", kRoot, "tmpfs", MS_NOSUID | MS_NODEV, "size=1m") != 0) {
            mFailure = std::string("cannot mount a tmpfs on /mnt: ") + std::strerror(errno);
        }
    }
    ~PrivateMediaRoot() {
        if (mFailure.empty()) {
            ::umount2(kRoot, MNT_DETACH);
        }
    }
    PrivateMediaRoot(const PrivateMediaRoot&) = delete;
    PrivateMediaRoot& operator=(const PrivateMediaRoot&) = delete;

    // Empty once mounted.
    const std::string& failure() const { return mFailure; }

    static constexpr const char* kRoot = "/mnt";

  private:
    std::string mFailure;
};

TEST_F(Questions, FolderRowOffersRescanOnlyWhenIdle) {
    EXPECT_FALSE(questions().forFolder(nullptr));
    PrivateMediaRoot media;
    if (!media.failure().empty()) {
        GTEST_SKIP() << media.failure();
    }
    FolderRef root = test::memoryRoot(PrivateMediaRoot::kRoot);
    // Still unreadable: the question is the grant one, for this folder alone.
    FolderSystemItem* missing = root->getFolderItemByFolderPath("/mnt/share");
    EXPECT_TRUE(questions().forFolder(missing));
    ASSERT_EQ(alerts.shown.size(), 1u);
    EXPECT_EQ(alerts.shown.back().message, "Folder was not scanned due to lack of access");
    EXPECT_NE(alerts.shown.back().informative.find("/mnt/share"), std::string::npos);
    EXPECT_FALSE(alerts.withSuppression);
    EXPECT_EQ(settingsOpened, 1);

    // Readable now: access came after the scan, so a rescan is offered.
    ASSERT_TRUE(std::filesystem::create_directory("/mnt/share"));
    scanning = true;
    EXPECT_TRUE(questions().forFolder(missing));
    EXPECT_EQ(alerts.shown.back().message, "The folder was not scanned");
    EXPECT_EQ(rescans, 0) << "no second scan while one runs";
    scanning = false;
    EXPECT_TRUE(questions().forFolder(missing));
    EXPECT_EQ(rescans, 1);

    // Folders that are not media roots nor protected ones are never asked
    // about, unless the scan could not read them.
    FolderSystemItem* plain = root->getFolderItemByFolderPath("/mnt");
    EXPECT_FALSE(questions().forFolder(plain));
    EXPECT_EQ(alerts.shown.size(), 3u);
    FolderSystemItem* closed = root->getFolderItemByFolderPath("/mnt/closed");
    closed->setAccessDenied(true);
    EXPECT_TRUE(questions().forFolder(closed));
    ASSERT_EQ(alerts.shown.size(), 4u);
    EXPECT_NE(alerts.shown.back().informative.find("/mnt/closed"), std::string::npos);
}

}  // namespace
}  // namespace korvex
