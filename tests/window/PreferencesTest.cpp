#include "window/MainWindowFixture.h"

#include "app/preferences/PreferencesWindow.h"
#include "app/toolkit/Appearance.h"
#include "cleanup/collection/CollectionAlerts.h"

#include <gtest/gtest.h>
#include <QCheckBox>
#include <QComboBox>
#include <QMenuBar>
#include <QPushButton>
#include <QSpinBox>
#include <QStyleOptionButton>

namespace korvex {
namespace {

class PreferencesTest : public MainWindowTest {
  protected:
    PreferencesTest() {
        showSized({1280, 720});
        QApplication::setActiveWindow(&window);
    }
    void TearDown() override { Appearance::setStoredType(1); }

    // Edit > Preferences, from its shortcut.
    PreferencesWindow& openPreferences() {
        QTest::keyClick(&window, Qt::Key_Comma, Qt::ControlModifier);
        PreferencesWindow* shown = window.preferencesWindow();
        EXPECT_TRUE(shown != nullptr && shown->isVisible());
        return shown != nullptr ? *shown : window.openPreferences();
    }
    QAction* appearanceChoice(const QString& name) {
        for (QAction* menu : window.menuBar()->actions()) {
            for (QAction* item : menu->menu()->actions()) {
                if (item->menu() != nullptr && item->text() == "Appearance") {
                    for (QAction* choice : item->menu()->actions()) {
                        if (choice->text() == name) {
                            return choice;
                        }
                    }
                }
            }
        }
        return nullptr;
    }
    // A click on the box itself: a check box stretched across the window
    // takes clicks only on its box and its text.
    static void tick(QCheckBox& box) {
        QStyleOptionButton option;
        option.initFrom(&box);
        const QRect indicator =
            box.style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, &box);
        QTest::mouseClick(&box, Qt::LeftButton, {}, indicator.center());
    }
    std::vector<std::string> recentPaths() {
        std::vector<std::string> paths;
        for (const auto& folder : controller().folderFiling().recents().getFoldersArray()) {
            paths.push_back(folder->getFullPath());
        }
        return paths;
    }
};

TEST_F(PreferencesTest, EveryChoiceTakesEffectAtOnceAndSurvivesARestart) {
    for (const char* folder : {"a", "a/b", "empty"}) {
        selectFolder(tree.path(folder));
    }
    PreferencesWindow& preferences = openPreferences();
    EXPECT_TRUE(preferences.hintBox().isChecked());
    EXPECT_FALSE(preferences.hiddenFilesBox().isChecked());
    EXPECT_FALSE(preferences.scanHistoryBox().isChecked()) << "no history unless asked for";
    EXPECT_EQ(preferences.recentsLimitBox().value(), 10);
    EXPECT_EQ(preferences.appearanceBox().currentText(), "System");

    tick(preferences.hintBox());
    EXPECT_FALSE(Settings::showHintForSelectedItem());
    tick(preferences.hiddenFilesBox());
    EXPECT_TRUE(Settings::allowRemovingHiddenFiles());
    tick(preferences.scanHistoryBox());
    EXPECT_TRUE(Settings::keepScanHistory());

    preferences.recentsLimitBox().setFocus();
    QTest::keyClick(&preferences.recentsLimitBox(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(&preferences.recentsLimitBox(), QStringLiteral("2"));
    EXPECT_EQ(recentPaths(), (std::vector<std::string>{tree.path("a/b"), tree.path("empty")}));
    EXPECT_EQ(controller().volumesController().rowOfPath(tree.path("a")), -1)
        << "the oldest recent left the panel";

    preferences.appearanceBox().setFocus();
    QTest::keyClick(&preferences.appearanceBox(), Qt::Key_Down);
    QTest::keyClick(&preferences.appearanceBox(), Qt::Key_Down);
    EXPECT_EQ(preferences.appearanceBox().currentText(), "Dark");
    EXPECT_TRUE(Appearance::isDark());
    ASSERT_NE(appearanceChoice("Dark"), nullptr);
    EXPECT_TRUE(appearanceChoice("Dark")->isChecked()) << "the View menu shows the same choice";

    // A restart: nothing in memory, everything from the file.
    preferences.close();
    test::TempSettings::forgetAll();
    PreferencesWindow reopened;
    EXPECT_FALSE(reopened.hintBox().isChecked());
    EXPECT_TRUE(reopened.hiddenFilesBox().isChecked());
    EXPECT_TRUE(reopened.scanHistoryBox().isChecked());
    EXPECT_EQ(reopened.recentsLimitBox().value(), 2);
    EXPECT_EQ(reopened.appearanceBox().currentText(), "Dark");
    EXPECT_EQ(RecentsController().recentsLimit(), 2u);
    RecentsController recents;
    ASSERT_TRUE(recents.initFromPreferences());
    EXPECT_EQ(recents.foldersCount(), 2u);
}

TEST_F(PreferencesTest, TheViewMenuAndThePreferencesShowOneAppearance) {
    PreferencesWindow& preferences = openPreferences();
    ASSERT_NE(appearanceChoice("Light"), nullptr);
    appearanceChoice("Light")->trigger();
    EXPECT_EQ(preferences.appearanceBox().currentText(), "Light");
    EXPECT_FALSE(Appearance::isDark());
    preferences.appearanceBox().setCurrentIndex(2);
    EXPECT_TRUE(appearanceChoice("Dark")->isChecked());
    EXPECT_FALSE(appearanceChoice("Light")->isChecked());
}

TEST_F(PreferencesTest, SilencedAlertsCanAllBeShownAgain) {
    Settings::setSuppressSomeFoldersNotScannedAlert(true);
    Settings::setShowCleanPergeableSpaceAlert(false);
    Settings::saveBoolValue(true, kAlertParentIsInCollection.key);
    PreferencesWindow& preferences = openPreferences();
    ASSERT_TRUE(preferences.showAlertsAgainButton().isEnabled());

    QTest::mouseClick(&preferences.showAlertsAgainButton(), Qt::LeftButton);
    EXPECT_FALSE(preferences.showAlertsAgainButton().isEnabled());
    EXPECT_EQ(preferences.alertsStatus().text(), "Every alert is shown.");
    test::TempSettings::forgetAll();
    EXPECT_FALSE(Settings::suppressSomeFoldersNotScannedAlert());
    EXPECT_TRUE(Settings::showCleanPergeableSpaceAlert());
    EXPECT_FALSE(Settings::getBoolValueForKey(kAlertParentIsInCollection.key, false));

    // Silenced while the window is closed: it shows that when opened again.
    preferences.close();
    Settings::saveBoolValue(true, kSuppressProcessingAlertKey);
    EXPECT_TRUE(openPreferences().showAlertsAgainButton().isEnabled());
}

TEST_F(PreferencesTest, HiddenItemsCanBeCollectedOnceTheLockIsLifted) {
    tree.file(".cache.bin", 700'000);
    ASSERT_NO_FATAL_FAILURE(scanTree());
    FolderColumnView* column = contents().folderColumns().column(0);
    const QModelIndex group = rowNamed(column, "Hidden items");
    ASSERT_TRUE(group.isValid());
    clickRow(column, group);
    QTest::keyClick(column, Qt::Key_Right);
    const QModelIndex hidden = rowNamed(column, ".cache.bin");
    clickRow(column, hidden);
    EXPECT_FALSE(hidden.flags() & Qt::ItemIsUserCheckable);
    ASSERT_TRUE(contents().preferencesButton().isVisible());
    EXPECT_EQ(contents().preferencesButton().text(), "Go to Preferences");
    EXPECT_TRUE(contents().detailsText().contains("in Preferences."));

    QTest::mouseClick(&contents().preferencesButton(), Qt::LeftButton);
    PreferencesWindow* preferences = window.preferencesWindow();
    ASSERT_TRUE(preferences != nullptr && preferences->isVisible());
    tick(preferences->hiddenFilesBox());
    EXPECT_FALSE(contents().preferencesButton().isVisible()) << "nothing is locked any more";
    ASSERT_TRUE(hidden.flags() & Qt::ItemIsUserCheckable);

    QTest::mouseClick(column->viewport(), Qt::LeftButton, {},
                      checkIndicatorRect(column, hidden).center());
    const std::string path = tree.path(".cache.bin");
    EXPECT_TRUE(controller().collection().isFilePathInCollection(path));
    // Forbidding it again takes the hidden item back out.
    tick(preferences->hiddenFilesBox());
    EXPECT_FALSE(controller().collection().isFilePathInCollection(path));
}

}  // namespace
}  // namespace korvex
