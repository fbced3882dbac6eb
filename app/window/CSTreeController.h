#pragma once

#include "access/AccessQuestions.h"
#include "app/menu/MainMenuActionPerformer.h"
#include "app/settings/StateSaverManager.h"
#include "app/startup/ScanRequestTarget.h"
#include "app/toolkit/GrantAccessSheets.h"
#include "app/toolkit/RestartService.h"
#include "app/window/ForceRestartController.h"
#include "app/window/ItemCommands.h"
#include "app/window/ScanningStateObserver.h"
#include "browse/biggest/BiggestFilesController.h"
#include "browse/folders/FolderFiling.h"
#include "browse/lists/ContentsPanel.h"
#include "cleanup/collection/CollectionTreeTarget.h"
#include "cleanup/collection/DoCollectionController.h"
#include "cleanup/collection/views/CollectionWindowViews.h"
#include "cleanup/purgeable/PurgeableSpaceCleaner.h"
#include "cleanup/purgeable/PurgeableSpaceCleanerListener.h"
#include "diagram/RadialController.h"
#include "diagram/volumes/VolumesTableController.h"
#include "diagram/volumes/VolumesTableDelegate.h"
#include "platform/dispatch/NotificationCenter.h"
#include "scan/model/CModel.h"

#include <QObject>
#include <QPointer>
#include <QTimer>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class QAbstractButton;
class QAction;
class QLabel;
class QProgressBar;
class QStackedWidget;

namespace korvex {

namespace platform {
class LauncherProgress;
}  // namespace platform

class BusySpinner;
class CollectionPanel;
class DiagramWindowBridge;
class PurgeableSpaceSheets;
class ContentPanel;
class MountFollower;
class RadialView;
class SavedScansController;
class UnscannedOverview;
class VolumesListView;

// The widgets of the main window the controller drives. The window makes
// them (some need the controller's own objects first) and hands them over.
struct MainWindowViews {
    QWidget* window = nullptr;
    QProgressBar* dockProgress = nullptr;  // 0..1000
    BusySpinner* pVertelka = nullptr;
    QLabel* mStatus = nullptr;
    QAbstractButton* startStopButton = nullptr;
    RadialView* radialView = nullptr;
    VolumesListView* volumesList = nullptr;
    // The right side: the overview of an unscanned target, or the content
    // panel (the same object as `rightPanel`) for a scanned one.
    QStackedWidget* rightStack = nullptr;
    UnscannedOverview* overview = nullptr;
    QWidget* rightPanelWidget = nullptr;
    ContentPanel* rightPanel = nullptr;
    // The folder lists inside the right panel, and the list the walker fills.
    ContentsPanel* contentsPanel = nullptr;
    BiggestFilesController* biggestFiles = nullptr;
    QAction* exportReportAction = nullptr;
    // The removal collection's area in the right panel.
    CollectionPanel* collectionPanel = nullptr;
};

// The controller of the main window and the driver of every scan: it owns the
// scan model and the left panel's lists, turns the choice of a target into a
// scan, shows its progress, finishes or cancels it, follows mounts and keeps
// the trees and folder lists right after file operations. Main thread only.
class CSTreeController : public QObject,
                         public ScanRequestTarget,
                         public VolumesTableDelegate,
                         public FolderFilingDelegate,
                         public MainMenuActionPerformer,
                         public PurgeableSpaceCleanerListener,
                         public ContentsPanelDelegate,
                         public CollectionTreeTarget {
    Q_OBJECT
  public:
    static constexpr int kProgressMaximum = 1000;
    // The finishing run-up: at least this much per tick, and never below the floor.
    static constexpr int kRunUpStep = 75;
    static constexpr int kRunUpFloor = 500;

    struct Timing {
        std::chrono::milliseconds progressDelay{20};
        std::chrono::milliseconds runUpTick{100};
        std::chrono::milliseconds firstVolumesRefresh{20000};
        std::chrono::milliseconds volumesRefresh{10000};
        std::chrono::milliseconds relaunchScanDelay{500};
    };

    explicit CSTreeController(std::string homeFolder = {}, QObject* parent = nullptr);
    ~CSTreeController() override;

    // The objects the window's widgets are made over.
    VolumesTableController& volumesController() { return mVolsController; }
    RadialController& radialController() { return mRadial; }
    CModel& dirwalker() { return mDirwalker; }
    ScanningStateObserver& scanningStateObserver() { return mScanningStateObserver; }
    FolderFiling& folderFiling() { return mFolderFiling; }
    StateSaverManager& stateSaverManager() { return mStateSaverManager; }
    RestartService& restartService() { return mRestartService; }
    PurgeableSpaceCleaner& purgeableSpaceCleaner() { return *mPurgeableSpaceCleaner; }
    // Made by windowDidLoad.
    DoCollectionController& collection() { return *mCollection; }
    CollectionWindowViews& collectionViews() { return *mCollectionViews; }
    ItemCommands& itemCommands() { return *mItemCommands; }

    void setTiming(const Timing& timing) { mTiming = timing; }
    // Installs the observers, loads the lists, fills the left panel and
    // starts the volume refresh; the views must be complete.
    void windowDidLoad(const MainWindowViews& views);

    // ---- Starting and stopping
    void startScanRootVolume() override;
    void startHomeFolder() override;
    void softStartHomeFolder(bool soft) override;
    void doScanFolder(const std::string& path) override;
    void addFoldersAndScanFirst(const std::vector<std::string>& paths) override;
    // A saved scan or an ncdu export: shown instead of scanned.
    void openScanFile(const std::string& path) override;
    void switchToBiggestTab() override;
    void startAction();
    void stopAction();
    void toggleStartStopScan();
    void leftPanelScanSelectedItem();
    void checkAccessToSelectedVolumeAndStartScan();
    void performScanFolderAtPath(const std::string& path);
    bool isProcessing() const override { return !mDirwalker.startPath().empty(); }
    const std::string& getProcessingVol() const { return mDirwalker.startPath(); }

    // ---- Updates from file operations
    bool updateAllAfterRemovingFiles(const std::vector<std::string>& paths,
                                     ItemList& resItems) override;
    bool updateAllAfterCreatingFiles(const std::vector<CopiedFileItem>& items,
                                     const std::string& toFolder, ItemList& resItems) override;
    void updateAddedItemsToCollection(const std::vector<std::string>& paths) override;
    void updateRemovedItemsInCollection(const std::vector<std::string>& paths) override;

    // ---- CollectionTreeTarget
    ItemRef getItemByFilePath(const std::string& path) override;
    ItemRef rootItem() const override { return mRadial.root(); }
    void setRoot(const ItemRef& root) override { setRootForRadial(root); }
    void updateDiagramAfterRemovingItems(const ItemList& items) override;
    void updateDiagramAfterAddingItems(const ItemList& items) override;
    void startCutAnimation() override;
    void redrawDiagram() override;
    void reloadLists() override;
    void refreshListMarks() override;
    void showPreviewFor(const std::string& path) override { contentsPanelPreview({path}); }
    bool rootNeedsScan() const override;
    std::optional<std::string> refusalForItems(const ItemList& items) const override;
    void startScan() override { startAction(); }
    void stopScan() override { stopAction(); }

    // ---- Volumes
    void didMountVolume(const std::string& devicePath);
    void didUnmountVolume(const std::string& devicePath);
    void fillVolumesTable(bool makeVisible);
    bool simpleUpdateVolumesInfo();

    // ---- Report
    // The selected target has a finished or stopped scan to report on.
    bool canExportReport() const;
    // Asks where to save the report of the selected target's scan and writes it.
    void exportReportAction();
    void generateResultsReport();

    // ---- Saved scans
    // Made by windowDidLoad.
    SavedScansController& savedScans() { return *mSavedScans; }
    // Shows a scan read from a file, with no row of the left panel selected,
    // until a row is chosen again.
    void showSavedTarget(const TopLevelRef& target);
    // The target whose tree is shown: the saved scan, else the selected row's.
    TopLevelRef shownTarget() const;

    // ---- Other
    void showSomeFoldersWereNotScannedAlertForItem(const FileSystemItem* item);
    void setRootForRadial(const ItemRef& root);
    void setRootForRadial(const ItemRef& root, const TopLevelRef& volume);
    void actionRemoveFolder();
    void SavePrefParameters() const;

    // ---- State the window and tests read
    int progressValue() const;
    // The text beside the bar: what the scan has counted, of how much.
    QString scanProgressText() const;
    std::int32_t nposition() const { return mNposition; }
    std::int32_t scannedCount() const { return m_nScanned; }
    std::int64_t occupiedSize() const { return mNvoloc; }
    bool isRunningUp() const { return mRunUpTimer.isActive(); }
    // The alert on screen, if any (for the window's tests).
    QWidget* currentAlert() const { return mCurrentAlert; }

    // ---- VolumesTableDelegate
    void didSelectionChange(const TopLevelRef& entry) override;
    void startScanAction() override { leftPanelScanSelectedItem(); }
    void stopScanAction() override { stopAction(); }
    void removeChildrenOfFolderItem(const TopLevelRef& entry) override;
    void performEntryCommand(int code, const TopLevelRef& entry) override;

    // ---- FolderFilingDelegate
    void rebuildLeftPanel() override { fillVolumesTable(false); }
    void selectEntryWithPath(const std::string& path) override;
    void startScanOfSelection() override { startAction(); }
    bool isScanning() const override { return isProcessing(); }
    std::string scanningPath() const override { return mDirwalker.startPath(); }
    void stopScanning() override { stopAction(); }

    // ---- MainMenuActionPerformer
    bool canPerformMainMenuAction(MainMenuAction code, const MainMenuItem& item) override;
    void performMainMenuAction(MainMenuAction code) override;

    // ---- PurgeableSpaceCleanerListener
    void purgeableSpaceCleanerStateChanged(bool recovering) override;
    void purgeableSpaceCleanerNotifyAboutPerformRecovery(
        VolumeSystemItem& volume, const std::vector<std::string>& cleanedFilePaths) override;

    // ---- ContentsPanelDelegate
    void contentsPanelSelectionChanged(const ItemList& selected) override;
    void contentsPanelGoUp() override;
    // The window's previewer shows these paths.
    void contentsPanelPreview(const std::vector<std::string>& paths);
    void contentsPanelWantsGrantAccessFor(const ItemRef& folder) override;
    void contentsPanelRowMenu(const ItemRef& node, const QPoint& globalPos) override;
    void contentsPanelOpenPreferences() override { emit preferencesRequested(); }

  signals:
    // The scan state changed: the window retitles its controls.
    void scanningChanged(bool scanning);
    // Another target was selected in the left panel.
    void targetChanged();
    // Other rows were selected in the lists: the Item commands follow.
    void itemSelectionChanged();
    // The user asked for the preferences (from a lock the settings can lift).
    void preferencesRequested();

  private:
    void updateProgress(std::int64_t counted);
    void updateProgressDelay();
    void walkfinished();
    void walkcanceled();
    bool endReplacedScan();
    void scheduleRadialUpdate();
    void runUpTick();
    void walkEnd(bool finished);
    void initstart();
    void initSizeCaptions(const std::string& path);
    void setProgressValue(int value);
    void setCanStart(bool canStart);
    void periodicUpdateVolumesInfo();
    void showDiagramOrOverview(const TopLevelRef& entry);
    void restoreDiagramRoot(const FolderRef& root);
    // Remembers the diagram root and the lists' selection of the shown target.
    void saveViewState();
    // The folder lists (and the biggest files) show the diagram root.
    void applyRootForLists(const ItemRef& root);
    // Every volume's tree, then the recent and the favourite folders.
    template <typename Apply>
    void forEveryTree(Apply apply);
    void showAlertWindow(QWidget* alert);
    // The diagram's pointer, menu and keys reach the window through the bridge.
    void connectDiagramInteraction();
    // What the Item commands act on outside the left panel: the rows selected
    // in the list on show, which the diagram outlines too.
    std::vector<std::string> selectedItemPaths() const;

    std::string mHomeFolder;
    Timing mTiming;
    ScanningStateObserver mScanningStateObserver;
    CModel mDirwalker;
    VolumesTableController mVolsController;
    FolderFiling mFolderFiling;
    RadialController mRadial;
    BiggestFilesController* mBiggest = nullptr;
    StateSaverManager mStateSaverManager;
    RestartService mRestartService;
    ForceRestartController mForceRestartController;
    std::unique_ptr<GrantAccessSheets> mAccessSheets;
    std::unique_ptr<AccessQuestions> mAccessQuestions;
    std::unique_ptr<MountFollower> mMountFollower;
    std::unique_ptr<platform::LauncherProgress> mLauncherProgress;
    std::shared_ptr<PurgeableSpaceCleaner> mPurgeableSpaceCleaner;
    std::unique_ptr<PurgeableSpaceSheets> mPurgeableSpaceSheets;
    std::unique_ptr<CollectionWindowViews> mCollectionViews;
    std::unique_ptr<DoCollectionController> mCollection;
    MainWindowViews mViews;
    std::unique_ptr<DiagramWindowBridge> mDiagramBridge;
    std::unique_ptr<SavedScansController> mSavedScans;
    TopLevelRef mSavedTarget;
    std::unique_ptr<ItemCommands> mItemCommands;

    double mdProgress = 0;
    std::int32_t mNposition = 0;
    std::int64_t mNvolsize = 0, mNvolfr = 0, mNvoloc = 0;
    std::int32_t m_nScanned = 0;

    bool mRadialUpdatePending = false;
    QTimer mProgressDelayTimer;
    QTimer mRunUpTimer;
    QTimer mVolumesRefreshTimer;
    std::vector<platform::NotificationCenter::Token> mObservers;
    QPointer<QWidget> mCurrentAlert;
};

}  // namespace korvex
