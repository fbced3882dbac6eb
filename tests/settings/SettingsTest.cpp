#include "app/settings/CachedDefaultsValue.h"
#include "app/settings/Settings.h"
#include "app/settings/StateSaverManager.h"
#include "platform/settings/SettingsStore.h"
#include "scan/targets/FolderItem.h"
#include "scan/tree/FolderSystemItem.h"
#include "support/MemoryTree.h"
#include "support/TempSettings.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>

namespace korvex {
namespace {

using platform::SettingsStore;

class SettingsFile : public ::testing::Test {
  protected:
    // Runs `check` in a separate process, which sees only what reached the file.
    static int inNewProcess(const std::function<bool()>& check) {
        pid_t child = ::fork();
        if (child == 0) {
            test::TempSettings::forgetAll();
            ::_exit(check() ? 0 : 1);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : 99;
    }
    // Writes the settings file as another program might have left it.
    void leaveFile(const std::string& text) const {
        std::filesystem::create_directories(std::filesystem::path(file).parent_path());
        std::ofstream(file) << text;
    }
    test::TempSettings settings;
    std::string file = settings.file();
};

TEST_F(SettingsFile, ReadingTheDefaultsWritesNothing) {
    EXPECT_TRUE(Settings::showHintForSelectedItem());
    EXPECT_EQ(Settings::appAppearanceTypeValue(), 0u);
    EXPECT_FALSE(std::filesystem::exists(file));
}

TEST_F(SettingsFile, SavedValuesReadBackHereAndInANewProcess) {
    Settings::setShowHintForSelectedItem(false);
    Settings::setAppAppearanceTypeValue(2);
    EXPECT_FALSE(Settings::showHintForSelectedItem());
    EXPECT_EQ(inNewProcess([] {
                  return !Settings::showHintForSelectedItem() &&
                         Settings::appAppearanceTypeValue() == 2 &&
                         Settings::showCleanPergeableSpaceAlert();
              }),
              0);
}

TEST_F(SettingsFile, CachedValueIsNotReReadFromTheStore) {
    EXPECT_TRUE(Settings::showHintForSelectedItem());
    SettingsStore(file).setObject("ShowHint", false);  // another writer
    EXPECT_TRUE(Settings::showHintForSelectedItem());
    EXPECT_EQ(inNewProcess([] { return !Settings::showHintForSelectedItem(); }), 0);
}

TEST_F(SettingsFile, WrongKindsReadAsAbsent) {
    leaveFile(R"({"ShowHint": "yes", "AppAppearanceTypeValueKey": [1], "Recents": 7})");
    EXPECT_TRUE(Settings::showHintForSelectedItem());
    EXPECT_EQ(Settings::appAppearanceTypeValue(), 0u);
    EXPECT_EQ(Settings::getArrayValueForKey("Recents", nlohmann::json::array({"d"})),
              nlohmann::json::array({"d"}));
}

TEST_F(SettingsFile, CorruptFileIsKeptAsideAndTheNextSaveWritesAGoodOne) {
    leaveFile("{\"ShowHint\": fal");  // cut off mid-write by someone else
    SettingsStore store(file);
    ASSERT_TRUE(store.backupPath().has_value());
    EXPECT_TRUE(std::filesystem::exists(*store.backupPath()));
    EXPECT_FALSE(store.objectForKey("ShowHint").has_value());
    EXPECT_TRUE(store.setObject("ShowHint", false));
    SettingsStore reread(file);
    EXPECT_FALSE(reread.backupPath().has_value());
    EXPECT_EQ(reread.objectForKey("ShowHint"), nlohmann::json(false));
}

TEST_F(SettingsFile, TwoWritersKeepEachOthersKeys) {
    SettingsStore first(file);
    SettingsStore second(file);
    first.setObject("a", 1);
    second.setObject("b", 2);
    first.setObject("a", 3);
    SettingsStore reread(file);
    EXPECT_EQ(reread.objectForKey("a"), nlohmann::json(3));
    EXPECT_EQ(reread.objectForKey("b"), nlohmann::json(2));
}

TEST_F(SettingsFile, RemovedArrayBringsTheDefaultBack) {
    CachedDefaultsValue recents("Recents", nlohmann::json::array({"x"}));
    recents.saveArrayValue(nlohmann::json::array({"/a", "/b"}));
    EXPECT_EQ(recents.getArrayValue(), nlohmann::json::array({"/a", "/b"}));
    recents.saveArrayValue(std::nullopt);
    EXPECT_EQ(recents.getArrayValue(), nlohmann::json::array({"x"}));
    EXPECT_FALSE(SettingsStore(file).objectForKey("Recents").has_value());
    CachedDefaultsValue noKey(std::nullopt, true);
    noKey.saveBoolValue(false);
    EXPECT_FALSE(noKey.getBoolValue());
}

TEST(ViewState, RemembersTheFolderPerTargetAndFallsBackToTheRoot) {
    FolderRef root = test::memoryRoot("/t");
    FolderSystemItem* a = test::folder(root.get(), "a");
    FolderSystemItem* b = test::folder(a, "b");
    FolderItem target("/t", "t");
    target.setScannedRoot(root);

    StateSaverManager states;
    EXPECT_EQ(states.getStateObjectForRoot(nullptr), nullptr);
    states.resetForRoot(b);  // never viewed: no state is made
    EXPECT_EQ(states.restoreRootForTopLevelItem(target), root.get());

    states.saveRoot(b);
    EXPECT_EQ(states.getStateObjectForRoot(a)->rootPath, "/t/a/b");
    EXPECT_EQ(states.restoreRootForTopLevelItem(target), b);
    a->removeChild(b);
    EXPECT_EQ(states.restoreRootForTopLevelItem(target), root.get());

    states.saveRoot(a);
    states.resetForRoot(a);
    VolumeState* state = states.getStateObjectForRoot(a);
    EXPECT_EQ(state->rootPath, "/t");
    EXPECT_EQ(state->digramRootPath, "/t");
    EXPECT_TRUE(state->selectedFiles.empty());
    FolderItem unscanned("/u", "u");
    EXPECT_EQ(states.restoreRootForTopLevelItem(unscanned), nullptr);
}

}  // namespace
}  // namespace korvex
