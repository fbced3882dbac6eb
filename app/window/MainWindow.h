#pragma once

#include "app/menu/MainMenuActionPerformer.h"
#include "app/window/CSTreeController.h"

#include <QMainWindow>

#include <initializer_list>
#include <memory>

class QMenu;
class QSplitter;

namespace korvex {

class PreferencesWindow;
class ScanSummaryPanel;

// The one window of the application: the scan targets on the left, the
// diagram in the middle and the panel of the shown folder on the right, with
// the scan controls and progress above them.
class MainWindow : public QMainWindow, public CategoryListPanel {
    Q_OBJECT
  public:
    explicit MainWindow(std::string homeFolder = {}, CSTreeController::Timing timing = {},
                        QWidget* parent = nullptr);
    ~MainWindow() override;

    CSTreeController& treeController() { return *mController; }
    const MainWindowViews& views() const { return mViews; }
    ScanSummaryPanel* summaryPanel() const { return mSummary; }
    // The saved-scan commands, by their titles, for the tests.
    QAction* saveScanAction() const { return mSaveScanAction; }
    QAction* comparePreviousAction() const { return mComparePreviousAction; }
    // Every menu command, for validation.
    const QList<QAction*>& menuActions() const { return mMenuActions; }
    // Edit > Preferences: made on first use, then shown again.
    PreferencesWindow& openPreferences();
    PreferencesWindow* preferencesWindow() const { return mPreferences; }
    QAction& freeSpaceAction() const { return *mFreeSpaceAction; }

    bool isCategoryListCollapsed() const override;
    void toggleCategoryListWidth() override;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    QWidget* makeToolbar();
    void makeMenus();
    QAction* addMenuAction(QMenu* menu, const QString& title, const QKeySequence& shortcut = {});
    void validateMenus();
    void orderTabStops(std::initializer_list<QWidget*> regions);
    void showStoredAppearanceChoice();
    void chooseFolderToScan();
    void updateScanControls(bool scanning);
    void updateStartStopTitle();

    std::unique_ptr<CSTreeController> mController;
    MainWindowViews mViews;
    ScanSummaryPanel* mSummary = nullptr;
    QSplitter* mSplitter = nullptr;
    QList<QAction*> mMenuActions;
    QAction* mSaveScanAction = nullptr;
    QAction* mCompareAction = nullptr;
    QAction* mComparePreviousAction = nullptr;
    QAction* mStopComparingAction = nullptr;
    QList<QAction*> mAppearanceChoices;
    QAction* mFreeSpaceAction = nullptr;
    PreferencesWindow* mPreferences = nullptr;
    int mCollapsedListWidth = 0;
};

}  // namespace korvex
