#include "browse/contents/SelectionAvailability.h"
#include "support/MemoryTree.h"
#include "support/ScannedTree.h"
#include "support/TempSettings.h"

#include <gtest/gtest.h>

namespace korvex {
namespace {

using Reason = SelectionLockReason;
SelectionAvailability locked(Reason why, bool folder = false) {
    return SelectionAvailability::locked(why, folder);
}

class Availability : public ::testing::Test {
  protected:
    void SetUp() override {
        tree.files().file("docs/report.txt", 5000);
        tree.files().file("docs/.draft", 5000);
        tree.files().file(".cache/blob", 5000);
        tree.files().file(".cache/nested/file", 5000);
        tree.files().file("cloud.bin", 5000);
        tree.scan();
    }
    SelectionAvailability of(std::string_view path) {
        return selectionAvailability(*tree.node(path));
    }

    test::TempSettings settings;
    test::ScannedTree tree;
};

TEST_F(Availability, HiddenItemsAreLockedUntilTheSettingAllowsThem) {
    EXPECT_EQ(of("docs/.draft"), locked(Reason::hidden, false));
    EXPECT_EQ(of(".cache"), locked(Reason::hidden, true));
    EXPECT_EQ(of(".cache/blob"), locked(Reason::inHiddenFolder, false));
    EXPECT_EQ(of(".cache/nested"), locked(Reason::inHiddenFolder, true));
    EXPECT_TRUE(canPerformWithAction(*tree.node(".cache/blob"), CollectionAction::copy));
    EXPECT_FALSE(canPerformWithAction(*tree.node(".cache/blob"), CollectionAction::move));

    Settings::setAllowRemovingHiddenFiles(true);
    EXPECT_TRUE(of("docs/.draft").isAvailable());
    EXPECT_TRUE(of(".cache/nested/file").isAvailable());
}

TEST_F(Availability, InsideACollectedFolderWinsOverHidden) {
    tree.node("docs")->setCollected(true);
    EXPECT_EQ(of("docs/.draft"), locked(Reason::inSelectedFolder));
    for (auto action : {CollectionAction::remove, CollectionAction::move, CollectionAction::copy}) {
        EXPECT_FALSE(canPerformWithAction(*tree.node("docs/report.txt"), action));
    }
    EXPECT_TRUE(isItemSelectable(*tree.node("docs")))
        << "the collected folder itself stays tickable";
}

TEST_F(Availability, CloudStoredFilesCanNeitherBeRemovedMovedNorCopied) {
    tree.node("cloud.bin")->setIsCloudStored(true);
    EXPECT_EQ(of("cloud.bin"), locked(Reason::cloudStored));
    for (auto action : {CollectionAction::remove, CollectionAction::move, CollectionAction::copy}) {
        EXPECT_FALSE(canPerformWithAction(*tree.node("cloud.bin"), action));
    }
}

TEST(SystemItems, CanBeCopiedButNotRemoved) {
    FolderRef root = test::memoryRoot("/");
    FolderSystemItem* usr = test::folder(root.get(), "usr");
    ItemRef etc = test::file(root.get(), "etc", 10);
    ItemRef below = test::file(usr, "own.txt", 10);
    EXPECT_EQ(selectionAvailability(*usr), locked(Reason::requiredForSystem, true));
    EXPECT_EQ(selectionAvailability(*etc), locked(Reason::requiredForSystem, false));
    EXPECT_FALSE(canPerformWithAction(*usr, CollectionAction::remove));
    EXPECT_FALSE(canPerformWithAction(*usr, CollectionAction::move));
    EXPECT_TRUE(canPerformWithAction(*usr, CollectionAction::copy));
    EXPECT_TRUE(isItemSelectable(*below)) << "only the listed folders themselves are protected";
}

TEST(LockMessages, EmphasisAndSettingsButtonFollowTheReason) {
    auto hidden = lockMessageFor(locked(Reason::hidden, true));
    ASSERT_TRUE(hidden);
    EXPECT_TRUE(hidden->text.starts_with("The folder is hidden"));
    EXPECT_EQ(hidden->settingsButtonTitle, "Go to Preferences");
    EmphasisedText parts = splitEmphasis(hidden->text);
    EXPECT_EQ(parts.emphasised, "\"Allow removing hidden files and folders\"");
    EXPECT_EQ(parts.after, " in Preferences.");

    auto file = lockMessageFor(locked(Reason::inHiddenFolder, false));
    EXPECT_TRUE(file->text.starts_with("The file is in hidden folder"));

    auto system = lockMessageFor(locked(Reason::requiredForSystem, false));
    EXPECT_FALSE(system->settingsButtonTitle);
    EXPECT_EQ(splitEmphasis(system->text).before, system->text);
    EXPECT_FALSE(lockMessageFor(locked(Reason::specialItem)));
}

}  // namespace
}  // namespace korvex
