#include "app/window/CSTreeController.h"

#include "app/menu/MainMenuController.h"
#include "app/toolkit/Alert.h"
#include "app/toolkit/BusySpinner.h"
#include "app/toolkit/HungCallAlert.h"
#include "app/window/ContentPanel.h"
#include "app/window/DiagramWindowBridge.h"
#include "app/window/MountFollower.h"
#include "app/window/SavedScansController.h"
#include "app/window/UnscannedFolderCount.h"
#include "browse/lists/ItemTexts.h"
#include "browse/preview/PreviewController.h"
#include "cleanup/collection/views/CollectionPanel.h"
#include "cleanup/purgeable/PurgeableSpaceGetOperation.h"
#include "cleanup/purgeable/sheets/PurgeableSpaceSheets.h"
#include "cleanup/removers/ElevatedRemovalRetrier.h"
#include "cleanup/report/ResultsReport.h"
#include "diagram/DiagramContextMenuController.h"
#include "diagram/DiagramOverlayView.h"
#include "diagram/RadialView.h"
#include "diagram/volumes/UnscannedOverview.h"
#include "diagram/volumes/VolumesListView.h"
#include "platform/LimitedTimePerformer.h"
#include "platform/UserFolders.h"
#include "platform/desktop/LauncherProgress.h"
#include "platform/fs/CanonicalPath.h"
#include "platform/fs/EntryExists.h"
#include "scan/format/SizeFormatter.h"
#include "scan/model/ScanNotifications.h"
#include "scan/tree/FolderSystemItem.h"
#include "scan/tree/VolumeSystemItem.h"

#include <QAbstractButton>
#include <QAction>
#include <QCoreApplication>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>

#include <algorithm>
#include <utility>

namespace korvex {

CSTreeController::CSTreeController(std::string homeFolder, QObject* parent)
    : QObject(parent),
      mHomeFolder(homeFolder.empty() ? platform::UserFolders::current().home()
                                     : std::move(homeFolder)),
      mDirwalker(&mScanningStateObserver),
      mVolsController(mHomeFolder),
      mFolderFiling(mDirwalker, *this),
      mForceRestartController(&mRestartService),
      mPurgeableSpaceCleaner(PurgeableSpaceCleaner::create()) {
    mVolsController.setDelegate(this);
    mPurgeableSpaceCleaner->setListener(this);
    mProgressDelayTimer.setSingleShot(true);
    connect(&mProgressDelayTimer, &QTimer::timeout, this, [this] { updateProgressDelay(); });
    connect(&mRunUpTimer, &QTimer::timeout, this, [this] { runUpTick(); });
    connect(&mVolumesRefreshTimer, &QTimer::timeout, this, [this] { periodicUpdateVolumesInfo(); });
}

CSTreeController::~CSTreeController() {
    mSavedScans.reset();
    mRadial.setCollectionActions(nullptr);
    mPurgeableSpaceCleaner->setListener(nullptr);
    mPurgeableSpaceCleaner->setWindow(nullptr);
    MainMenuController::shared().removeDelegateFromArray(this);
    mVolsController.setDelegate(nullptr);
}

void CSTreeController::windowDidLoad(const MainWindowViews& views) {
    mViews = views;
    // Before anything that may select a target: the window asks it about its commands.
    mSavedScans = std::make_unique<SavedScansController>(*this, mViews);
    mItemCommands = std::make_unique<ItemCommands>(
        views.window, [this](QWidget* alert) { showAlertWindow(alert); });
    mAccessSheets = std::make_unique<GrantAccessSheets>(views.window);
    AccessQuestions::Actions actions;
    // Access is granted in the folder's permissions: the file manager's
    // properties window of the target is where the user changes them.
    actions.openFullDiskAccessSettings = [this] {
        mItemCommands->showProperties({mVolsController.getSelectedVolume()});
    };
    actions.rescan = [this] {
        if (!isProcessing()) {
            checkAccessToSelectedVolumeAndStartScan();
        }
    };
    actions.isScanning = [this] { return isProcessing(); };
    mAccessQuestions = std::make_unique<AccessQuestions>(*mAccessSheets, std::move(actions));
    mLauncherProgress = std::make_unique<platform::LauncherProgress>();
    // Volume scans get the node of the space the user's caches take.
    installPurgeableSpaceMeasure();
    mPurgeableSpaceSheets = std::make_unique<PurgeableSpaceSheets>(views.window);
    mPurgeableSpaceCleaner->setWindow(mPurgeableSpaceSheets.get());
    mCollectionViews = std::make_unique<CollectionWindowViews>(views.window, views.collectionPanel);
    mCollection = std::make_unique<DoCollectionController>(
        *this, *mCollectionViews,
        OperationPerformerBuilder(FileOperations::system(),
                                  std::make_shared<ElevatedRemovalRetrier>()),
        platform::UserFolders::current().trash());
    mCollection->setPurgeableSpaceCleaner(mPurgeableSpaceCleaner.get());
    mRadial.setCollectionActions(mCollection.get());
    if (views.collectionPanel != nullptr) {
        views.collectionPanel->setController(mCollection.get());
    }
    connect(qGuiApp, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState state) {
                if (state == Qt::ApplicationActive) {
                    mPurgeableSpaceCleaner->applicationDidBecomeActive();
                } else {
                    mPurgeableSpaceCleaner->applicationDidResignActive();
                }
            });

    auto& center = platform::NotificationCenter::defaultCenter();
    mObservers.push_back(
        center.addObserver(scanNotifications::kUpdateProgress, [this](const std::any& object) {
            if (const auto* counted = std::any_cast<std::int64_t>(&object)) {
                updateProgress(*counted);
            }
        }));
    // Only this window's model: tests and tools may run others beside it.
    auto observeMyModel = [this, &center](const char* name, void (CSTreeController::*handler)()) {
        mObservers.push_back(center.addObserver(name, [this, handler](const std::any& object) {
            const auto* model = std::any_cast<CModel*>(&object);
            if (model != nullptr && *model == &mDirwalker) {
                (this->*handler)();
            }
        }));
    };
    observeMyModel(scanNotifications::kFinishWalkingVolume, &CSTreeController::walkfinished);
    observeMyModel(scanNotifications::kWalkingVolumeCanceled, &CSTreeController::walkcanceled);
    connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this,
            [this] { SavePrefParameters(); });

    mMountFollower =
        std::make_unique<MountFollower>([this] { return mDirwalker.mountedVolumePaths(); });
    connect(mMountFollower.get(), &MountFollower::mounted, this,
            [this](const QString& path) { didMountVolume(path.toStdString()); });
    connect(mMountFollower.get(), &MountFollower::unmounted, this,
            [this](const QString& path) { didUnmountVolume(path.toStdString()); });

    mViews.overview->setDelegate(this);
    if (mViews.startStopButton != nullptr) {
        connect(mViews.startStopButton, &QAbstractButton::clicked, this,
                [this] { toggleStartStopScan(); });
    }
    mBiggest = mViews.biggestFiles;
    if (mViews.contentsPanel != nullptr) {
        mViews.contentsPanel->setDelegate(this);
        mViews.contentsPanel->setCollectToggle(
            [this](const ItemRef& node, bool collect) { mCollection->setSelected(collect, node); });
        // A row dragged from the lists opens the collection's drop area, like a
        // sector dragged from the diagram; a file manager that took the files
        // away leaves them out of the tree.
        connect(mViews.contentsPanel, &ContentsPanel::rowDragStarted, this,
                [this] { mCollection->setIsDragging(true); });
        connect(mViews.contentsPanel, &ContentsPanel::rowDragEnded, this,
                [this](const std::vector<std::string>& gone) {
                    mCollection->setIsDragging(false);
                    if (!gone.empty()) {
                        mCollection->processRemovedPaths(gone);
                    }
                });
    }
    mScanningStateObserver.addListener([this](std::int64_t state) {
        if (mViews.rightPanel != nullptr) {
            mViews.rightPanel->setScanning(state == ScanningStateObserver::SelectedTargetScanning);
        }
    });
    mRadial.setListsRootHandler([this](const ItemRef& root) { applyRootForLists(root); });
    connectDiagramInteraction();
    if (mViews.exportReportAction != nullptr) {
        connect(mViews.exportReportAction, &QAction::triggered, this,
                [this] { exportReportAction(); });
    }

    mFolderFiling.initPrefParameters();
    mDirwalker.enumerateVolumes();
    fillVolumesTable(true);
    mVolsController.selectOneifnotSelected();
    showDiagramOrOverview(mVolsController.getObjectForSelectedRow());
    MainMenuController::shared().addDelegateToArray(this);

    mVolumesRefreshTimer.start(mTiming.firstVolumesRefresh);

    mForceRestartController.registerStartScanWithBlock([this](const std::string& path) {
        mVolsController.selectVolumeByNameOrAny(path);
        mVolsController.makeSelectedVolumeVisible();
        QTimer::singleShot(mTiming.relaunchScanDelay, this,
                           [this] { checkAccessToSelectedVolumeAndStartScan(); });
    });
    mForceRestartController.onAppLaunched();
    setCanStart(true);
}

// ---- Starting and stopping

void CSTreeController::startScanRootVolume() {
    mVolsController.selectVolumeByNameOrAny("/");
    startAction();
}

void CSTreeController::startHomeFolder() {
    mVolsController.selectHomeFolder();
    startAction();
}

void CSTreeController::softStartHomeFolder(bool soft) {
    if (!soft) {
        startHomeFolder();
        return;
    }
    TopLevelRef home = mVolsController.selectHomeFolder();
    if (home != nullptr && !home->isScanned()) {
        startAction();
    }
}

void CSTreeController::doScanFolder(const std::string& path) {
    mFolderFiling.doScanFolder(path);
}

void CSTreeController::addFoldersAndScanFirst(const std::vector<std::string>& paths) {
    mFolderFiling.addFoldersAndScanFirst(paths);
}

void CSTreeController::openScanFile(const std::string& path) {
    mSavedScans->openScanFile(path);
}

void CSTreeController::switchToBiggestTab() {
    if (mViews.contentsPanel != nullptr) {
        mViews.contentsPanel->showList(ActiveControllerType::biggest);
    }
    if (mViews.window != nullptr) {
        mViews.window->raise();
        mViews.window->activateWindow();
    }
}

void CSTreeController::startAction() {
    checkAccessToSelectedVolumeAndStartScan();
}

void CSTreeController::toggleStartStopScan() {
    if (isProcessing()) {
        stopAction();
    } else {
        startAction();
    }
}

void CSTreeController::leftPanelScanSelectedItem() {
    TopLevelRef entry = mVolsController.getObjectForSelectedRow();
    if (entry != nullptr && entry->scanningState() == TopLevelItem::Scanning) {
        stopAction();
    } else if (!isProcessing()) {
        startAction();
    }
}

void CSTreeController::stopAction() {
    if (platform::LimitedTimePerformer::isScanStuck()) {
        showAlertWindow(showHungCallAlert(mViews.window, mRestartService));
        return;
    }
    if (isProcessing()) {
        setCanStart(false);
        mDirwalker.StopWalking();
    }
}

void CSTreeController::checkAccessToSelectedVolumeAndStartScan() {
    // The run-up still belongs to the scan that just ended.
    if (isProcessing() || isRunningUp()) {
        return;
    }
    TopLevelRef entry = mVolsController.getObjectForSelectedRow();
    if (entry == nullptr) {
        return;
    }
    const std::string path = entry->getPath();
    if (!platform::somethingExistsAt(path)) {
        AlertText text;
        text.message = tr("Cannot scan the folder");
        text.informative =
            tr("The folder \"%1\" does not exist.\nWould you like to remove it from the "
               "Favorites list?")
                .arg(qtText(path));
        text.buttons = {tr("Yes"), tr("No")};
        showAlertWindow(showAlert(mViews.window, text, [this](int button, bool) {
            if (button == 0) {
                actionRemoveFolder();
            }
        }));
        return;
    }
    // Reading rights are the file system's own: there is nothing to ask for
    // before the scan, and the folders it cannot read are told after it.
    performScanFolderAtPath(path);
}

void CSTreeController::performScanFolderAtPath(const std::string& givenPath) {
    // The scan reads the folder a link or a relative path names, and so does
    // everything that follows it.
    const std::string path = platform::canonicalPath(givenPath);
    const ItemRef previousRoot = mRadial.root();
    const bool previousWasScanned = previousRoot != nullptr;
    if (previousRoot != nullptr) {
        mStateSaverManager.resetForRoot(previousRoot.get());
    }
    initstart();
    initSizeCaptions(path);
    platform::LimitedTimePerformer::forgetHungPaths();

    FolderRef root =
        mDirwalker.StartWalkWithPath(path, static_cast<std::uint64_t>(mNvoloc), mBiggest);
    mForceRestartController.onScanStartedWith(path);
    if (mBiggest != nullptr) {
        mBiggest->initScannningWithRoot(root);
    }
    mRadial.setScanningPath(path);
    mRadial.setRoot(root, true);
    mRadial.animController().initAnimation();
    mVolsController.setScannedRootInfo(root, TopLevelItem::Scanning);
    setCanStart(false);
    mVolsController.reloadData(true);
    showDiagramOrOverview(mVolsController.getObjectForSelectedRow());
    if (mViews.rightPanel != nullptr) {
        if (previousWasScanned) {
            mViews.rightPanel->updateWith(root, true);
        } else {
            mViews.rightPanel->animateSwitchToScannedState(root);
        }
    }
    mCollection->updateState();
    emit scanningChanged(true);
}

void CSTreeController::initstart() {
    mViews.pVertelka->startAnimation();
    mNposition = 0;
    mdProgress = 0;
    mDirwalker.ClearResultsTree();
    setProgressValue(0);
    mLauncherProgress->setVisible(true);
    TopLevelRef entry = mVolsController.getObjectForSelectedRow();
    const bool determinate = entry != nullptr && entry->isVol();
    mViews.dockProgress->setRange(0, determinate ? kProgressMaximum : 0);
    mViews.dockProgress->setVisible(true);
    mProgressDelayTimer.start(mTiming.progressDelay);
}

void CSTreeController::initSizeCaptions(const std::string& path) {
    for (const auto& volume : mDirwalker.getVolumesInfo()) {
        if (volume->getPath() == path) {
            mNvolsize = volume->getsize();
            mNvolfr = volume->getfsize();
            mNvoloc = volume->getOccSize();
            return;
        }
    }
}

// ---- Progress

void CSTreeController::updateProgress(std::int64_t counted) {
    if (!isProcessing()) {
        return;
    }
    ++mNposition;
    mdProgress = static_cast<double>(counted);
    updateProgressDelay();
}

void CSTreeController::updateProgressDelay() {
    if (mNvoloc > 0) {
        setProgressValue(
            static_cast<int>(mdProgress / static_cast<double>(mNvoloc) * kProgressMaximum));
    }
    mViews.mStatus->setText(scanProgressText());
    scheduleRadialUpdate();
    if (mViews.rightPanel != nullptr) {
        mViews.rightPanel->updateSummeryControllerResultInfo();
    }
}

// After the notification being delivered is done, so the scan's report is
// never held up; reports that come faster than the event loop make one update.
void CSTreeController::scheduleRadialUpdate() {
    if (mRadialUpdatePending) {
        return;
    }
    mRadialUpdatePending = true;
    QTimer::singleShot(0, this, [this] {
        mRadialUpdatePending = false;
        // The user may have gone into a folder of the growing tree: its rings grow too.
        const ItemRef shown = mRadial.root();
        const FolderRef scanned = mDirwalker.getRootItem();
        const bool inScannedTree =
            shown != nullptr && scanned != nullptr && shown->getTopParent() == scanned.get();
        mRadial.UpdateRadialStructureDuringProcessByRoot(inScannedTree ? shown.get()
                                                                       : scanned.get());
        mViews.radialView->update();
    });
}

QString CSTreeController::scanProgressText() const {
    const QString read = qtText(sizeString(static_cast<std::int64_t>(mdProgress)));
    // The same measure as the bar: the part of the occupied space counted.
    if (mViews.dockProgress->maximum() > 0 && mNvoloc > 0) {
        return tr("%1 of %2 read").arg(read, qtText(sizeString(mNvoloc)));
    }
    return tr("%1 read").arg(read);
}

int CSTreeController::progressValue() const {
    return mViews.dockProgress->value();
}

void CSTreeController::setProgressValue(int value) {
    value = std::clamp(value, 0, kProgressMaximum);
    // An indeterminate bar keeps no value: keep the range that can hold it.
    if (mViews.dockProgress->maximum() == 0) {
        mViews.dockProgress->setRange(0, kProgressMaximum);
        mViews.dockProgress->setValue(value);
        mViews.dockProgress->setRange(0, 0);
    }
    mViews.dockProgress->setValue(value);
    mLauncherProgress->setProgress(static_cast<double>(value) / kProgressMaximum);
}

// ---- End of a scan

// A scan replaced by a newer one: only its row learns that it ended.
bool CSTreeController::endReplacedScan() {
    mProgressDelayTimer.stop();
    if (mDirwalker.reportingRoot() == mDirwalker.getRootItem()) {
        return false;
    }
    mVolsController.setScannedRootInfo(mDirwalker.reportingRoot(), TopLevelItem::Cancelled);
    return true;
}

void CSTreeController::walkfinished() {
    if (endReplacedScan()) {
        return;
    }
    if (progressValue() == kProgressMaximum) {
        walkEnd(true);
        return;
    }
    // The bar shows the run-up even when the scan could not be measured.
    mViews.dockProgress->setRange(0, kProgressMaximum);
    mRunUpTimer.start(mTiming.runUpTick);
}

void CSTreeController::runUpTick() {
    const int value = std::max(progressValue() + kRunUpStep, kRunUpFloor);
    if (value > kProgressMaximum) {
        setProgressValue(kProgressMaximum);
        mRunUpTimer.stop();
        walkEnd(true);
        return;
    }
    setProgressValue(value);
}

void CSTreeController::walkcanceled() {
    if (!endReplacedScan()) {
        walkEnd(false);
    }
}

void CSTreeController::walkEnd(bool finished) {
    mProgressDelayTimer.stop();
    mRadial.animController().stopAnimation();
    mRadial.setScanningPath({});
    mDirwalker.setStartPath({});

    mForceRestartController.onScanFinished();
    mLauncherProgress->setVisible(false);
    setProgressValue(0);
    mViews.pVertelka->stopAnimation();

    mVolsController.reloadData(true);
    setCanStart(true);

    FolderRef root = mDirwalker.getRootItem();
    if (root != nullptr) {
        root->initSizesByLevels();
    }
    if (mBiggest != nullptr) {
        mBiggest->stopScanning();
    }
    mVolsController.setScannedRootInfo(root,
                                       finished ? TopLevelItem::Scanned : TopLevelItem::Cancelled);
    // The count stays with the target it was read for.
    for (const VolumeRow& row : mVolsController.rows()) {
        if (root != nullptr && row.entry != nullptr && row.entry->scannedRoot() == root) {
            row.entry->setEntriesRead(mDirwalker.lastEntriesRead());
        }
    }
    if (root != nullptr && root->isVol()) {
        mPurgeableSpaceCleaner->startObserveFor(static_cast<VolumeSystemItem*>(root.get()));
        mPurgeableSpaceCleaner->updateValueFor(root.get());
    }
    if (root != nullptr) {
        showSomeFoldersWereNotScannedAlertForItem(nullptr);
        if (mSavedTarget == nullptr && root->getFullPath() == mVolsController.getSelectedVolume()) {
            restoreDiagramRoot(root);
        }
        applyRootForLists(mRadial.root());
    }
    ++m_nScanned;
    // Paths collected before the scan are marked in the new tree too.
    if (std::vector<std::string> collected; mCollection->getPathsArray(collected)) {
        updateAddedItemsToCollection(collected);
    }
    SavePrefParameters();
    if (mSavedScans != nullptr) {
        mSavedScans->scanEnded(finished);
    }
    scheduleRadialUpdate();
    mCollection->updateState();
    emit scanningChanged(false);
}

void CSTreeController::restoreDiagramRoot(const FolderRef& root) {
    TopLevelRef entry = mVolsController.getObjectForSelectedRow();
    ItemRef shown = root;
    if (VolumeState* state = mStateSaverManager.getStateObjectForRoot(root.get());
        state != nullptr && state->digramRootPath) {
        // A plain lookup: a folder that went away is not made again.
        if (ItemRef folder = root->getItemByFilePath(*state->digramRootPath);
            folder != nullptr && folder->isDirectory()) {
            shown = folder;
        }
    }
    setRootForRadial(shown, entry);
}

void CSTreeController::showSomeFoldersWereNotScannedAlertForItem(const FileSystemItem* item) {
    if (item != nullptr) {
        mAccessQuestions->forFolder(item);
        return;
    }
    if (FolderRef root = mDirwalker.getRootItem(); root != nullptr) {
        mAccessQuestions->afterScan(*root);
    }
}

// ---- The diagram and the panels

void CSTreeController::setRootForRadial(const ItemRef& root) {
    mRadial.setRoot(root, true);
    mViews.radialView->update();
    applyRootForLists(root);
    if (mCollection != nullptr) {
        mCollection->updateState();
    }
}

void CSTreeController::applyRootForLists(const ItemRef& root) {
    if (mViews.rightPanel != nullptr) {
        mViews.rightPanel->applyRootForLists(root);
    }
    // Wherever the user moves, a rescan included, is where the target
    // opens again.
    saveViewState();
    // The left panel's rows compute their totals when painted: after a cut
    // has settled into the tree they must be painted again.
    if (mViews.volumesList != nullptr) {
        mViews.volumesList->viewport()->update();
    }
}

void CSTreeController::setRootForRadial(const ItemRef& root, const TopLevelRef& volume) {
    if (mViews.rightPanel != nullptr && volume != nullptr) {
        mViews.rightPanel->refreshItemInfoWithTopLevelItem(volume);
    }
    setRootForRadial(root);
}

void CSTreeController::showDiagramOrOverview(const TopLevelRef& entry) {
    const bool scanned = entry != nullptr && entry->scannedRoot() != nullptr;
    if (!scanned) {
        // The diagram shows the unscanned target beside its overview.
        mViews.overview->setEntry(entry, mHomeFolder);
        mViews.rightStack->setCurrentWidget(mViews.overview);
        if (entry != nullptr) {
            mRadial.setRoot(entry);
        }
        mViews.radialView->update();
        return;
    }
    mViews.rightStack->setCurrentWidget(mViews.rightPanelWidget);
    if (mViews.rightPanel != nullptr) {
        mViews.rightPanel->updateWith(entry->scannedRoot(), false);
    }
    // Read before the lists are filled: filling them saves their new state.
    ItemList selected;
    if (VolumeState* state = mStateSaverManager.getStateObjectForRoot(entry->scannedRoot().get())) {
        for (const std::string& path : state->selectedFiles) {
            if (ItemRef node = entry->scannedRoot()->getItemByFilePath(path)) {
                selected.push_back(std::move(node));
            }
        }
    }
    FolderSystemItem* shown = mStateSaverManager.restoreRootForTopLevelItem(*entry);
    setRootForRadial(shown != nullptr ? ItemRef(shown) : ItemRef(entry->scannedRoot()), entry);
    if (mViews.contentsPanel != nullptr && !selected.empty()) {
        mViews.contentsPanel->selectNodes(selected);
    }
}

void CSTreeController::saveViewState() {
    const ItemRef shown = mRadial.root();
    VolumeState* state = mStateSaverManager.getStateObjectForRoot(shown.get());
    if (state == nullptr) {
        return;
    }
    std::vector<std::string> selected;
    if (mViews.contentsPanel != nullptr) {
        for (const ItemRef& item : mViews.contentsPanel->selectedItems()) {
            selected.push_back(item->getFullPath());
        }
    }
    state->rootPath = shown->getFullPath();
    state->saveWithDigramRoot(state->rootPath, std::nullopt, std::move(selected));
}

void CSTreeController::didSelectionChange(const TopLevelRef& entry) {
    // Clearing the rows for a saved scan leaves the saved scan on show.
    if (entry == nullptr && mSavedTarget != nullptr) {
        return;
    }
    if (ItemRef shown = mRadial.root(); shown != nullptr) {
        mStateSaverManager.saveRoot(shown.get());
    }
    if (mSavedTarget != nullptr) {
        mSavedScans->savedTargetLeft(std::exchange(mSavedTarget, nullptr));
    }
    mScanningStateObserver.setSelectedVolumePath(entry != nullptr ? std::optional(entry->getPath())
                                                                  : std::nullopt);
    if (mViews.rightStack != nullptr) {
        showDiagramOrOverview(entry);
    }
    if (entry != nullptr && PreviewController::isVisible()) {
        PreviewController::sharedPreviewController().setPreviewItem(entry->getPath());
    }
    emit targetChanged();
}

void CSTreeController::showSavedTarget(const TopLevelRef& target) {
    if (ItemRef shown = mRadial.root(); shown != nullptr) {
        mStateSaverManager.saveRoot(shown.get());
    }
    TopLevelRef left = std::exchange(mSavedTarget, target);
    mVolsController.selectRow(-1);
    if (left != nullptr && left != target) {
        mSavedScans->savedTargetLeft(left);
    }
    mScanningStateObserver.setSelectedVolumePath(std::nullopt);
    showDiagramOrOverview(target);
    emit targetChanged();
}

TopLevelRef CSTreeController::shownTarget() const {
    return mSavedTarget != nullptr ? mSavedTarget : mVolsController.getObjectForSelectedRow();
}

void CSTreeController::removeChildrenOfFolderItem(const TopLevelRef& entry) {
    if (entry != nullptr && entry->scannedRoot() != nullptr) {
        mCollection->removeChildrenOfFolderItem(*entry->scannedRoot());
    }
}

void CSTreeController::performEntryCommand(int code, const TopLevelRef& entry) {
    if (entry == nullptr) {
        return;
    }
    const std::vector<std::string> paths = {entry->getPath()};
    switch (code) {
        case 0:
            mItemCommands->reveal(paths);
            break;
        case 1:
            mItemCommands->preview(paths);
            break;
        case 2:
            mItemCommands->showProperties(paths);
            break;
        default:
            break;
    }
}

void CSTreeController::selectEntryWithPath(const std::string& path) {
    mVolsController.selectVolumeByName(path);
    mVolsController.makeSelectedVolumeVisible();
}

void CSTreeController::actionRemoveFolder() {
    TopLevelRef entry = mVolsController.getObjectForSelectedRow();
    if (entry != nullptr && entry->isFolder()) {
        mFolderFiling.removeFolderFromFavoriteWithPath(entry->getPath());
    }
}

void CSTreeController::SavePrefParameters() const {
    mFolderFiling.SavePrefParameters();
}

void CSTreeController::setCanStart(bool canStart) {
    if (mViews.startStopButton != nullptr) {
        // While a scan runs the same control stops it, until the stop is under way.
        mViews.startStopButton->setEnabled(canStart || isProcessing());
    }
    if (mViews.overview != nullptr) {
        mViews.overview->startButton()->setEnabled(canStart && !isProcessing());
    }
}

void CSTreeController::showAlertWindow(QWidget* alert) {
    mCurrentAlert = alert;
}

// ---- Volumes

void CSTreeController::didMountVolume(const std::string& devicePath) {
    mDirwalker.addVolumeAtPath(devicePath);
    fillVolumesTable(false);
}

void CSTreeController::didUnmountVolume(const std::string& devicePath) {
    if (devicePath == mDirwalker.startPath()) {
        stopAction();
    }
    const std::string selected = mVolsController.getSelectedVolume();
    mRadial.volumeWasRemoved(devicePath);
    mDirwalker.removeVolFromList(devicePath);
    mVolsController.volumesCountChanged(false, devicePath, nullptr);
    mVolsController.selectVolumeByNameOrAny(selected);
}

void CSTreeController::fillVolumesTable(bool makeVisible) {
    const std::string selected = mVolsController.getSelectedVolume();
    mVolsController.resetVolumesArray();
    std::vector<TopLevelRef> volumes(mDirwalker.getVolumesInfo().begin(),
                                     mDirwalker.getVolumesInfo().end());
    mVolsController.setVolumesArray(volumes, true);
    mVolsController.addFFolders(mFolderFiling.favorites().getFoldersArray(),
                                mFolderFiling.recents().getFoldersArray());
    mVolsController.reloadData(false);
    if (mSavedTarget == nullptr) {
        mVolsController.selectVolumeByNameOrAny(selected);
    }
    if (makeVisible) {
        mVolsController.makeSelectedVolumeVisible();
    }
}

bool CSTreeController::simpleUpdateVolumesInfo() {
    if (!mDirwalker.updateVolumesInfo()) {
        return false;
    }
    fillVolumesTable(false);
    TopLevelRef entry = mVolsController.getObjectForSelectedRow();
    if (mViews.rightPanel != nullptr && entry != nullptr) {
        mViews.rightPanel->refreshItemInfoWithTopLevelItem(entry);
    }
    mViews.radialView->update();
    return true;
}

void CSTreeController::periodicUpdateVolumesInfo() {
    mVolumesRefreshTimer.setInterval(mTiming.volumesRefresh);
    simpleUpdateVolumesInfo();
}

// ---- After file operations

bool CSTreeController::updateAllAfterRemovingFiles(const std::vector<std::string>& paths,
                                                   ItemList& resItems) {
    return mFolderFiling.updateAllAfterRemovingFiles(paths, resItems);
}

bool CSTreeController::updateAllAfterCreatingFiles(const std::vector<CopiedFileItem>& items,
                                                   const std::string& toFolder,
                                                   ItemList& resItems) {
    return mFolderFiling.updateAllAfterCreatingFiles(items, toFolder, resItems);
}

template <typename Apply>
void CSTreeController::forEveryTree(Apply apply) {
    for (const auto& volume : mDirwalker.getVolumesInfo()) {
        apply(*volume);
    }
    apply(mFolderFiling.recents());
    apply(mFolderFiling.favorites());
}

void CSTreeController::updateAddedItemsToCollection(const std::vector<std::string>& paths) {
    if (!paths.empty()) {
        forEveryTree([&](auto& trees) { trees.updateAddedItemsToCollection(paths); });
    }
}

void CSTreeController::updateRemovedItemsInCollection(const std::vector<std::string>& paths) {
    if (!paths.empty()) {
        forEveryTree([&](auto& trees) { trees.updateRemovedItemsInCollection(paths); });
    }
}

// ---- The removal collection's view of the tree

ItemRef CSTreeController::getItemByFilePath(const std::string& path) {
    // The shown target's tree first, then every other one.
    if (TopLevelRef entry = shownTarget(); entry != nullptr && entry->scannedRoot() != nullptr) {
        if (ItemRef found = entry->scannedRoot()->getItemByFilePath(path)) {
            return found;
        }
    }
    if (ItemRef shown = mRadial.root(); shown != nullptr && shown->getTopParent() != nullptr) {
        return shown->getTopParent()->getItemByFilePath(path);
    }
    return nullptr;
}

void CSTreeController::updateDiagramAfterRemovingItems(const ItemList& items) {
    mRadial.updateDiagramAfterRemovingItems(items);
    applyRootForLists(mRadial.root());
}

void CSTreeController::updateDiagramAfterAddingItems(const ItemList& items) {
    mRadial.updateDiagramAfterAddingItems(items);
    applyRootForLists(mRadial.root());
}

void CSTreeController::startCutAnimation() {
    mRadial.startCutAnimation();
    mViews.radialView->update();
}

void CSTreeController::redrawDiagram() {
    mViews.radialView->update();
}

void CSTreeController::reloadLists() {
    if (mViews.contentsPanel != nullptr) {
        mViews.contentsPanel->reload();
    }
}

void CSTreeController::refreshListMarks() {
    if (mViews.contentsPanel != nullptr) {
        mViews.contentsPanel->refreshCollectMarks();
    }
}

std::optional<std::string> CSTreeController::refusalForItems(const ItemList& items) const {
    return mSavedScans != nullptr ? mSavedScans->refusalFor(items) : std::nullopt;
}

bool CSTreeController::rootNeedsScan() const {
    TopLevelRef entry = shownTarget();
    return entry == nullptr || entry->scannedRoot() == nullptr || mRadial.isRootBeingScanned();
}

// ---- Report

bool CSTreeController::canExportReport() const {
    TopLevelRef entry = shownTarget();
    return entry != nullptr && entry->scannedRoot() != nullptr &&
           entry->scanningState() != TopLevelItem::Scanning;
}

void CSTreeController::exportReportAction() {
    generateResultsReport();
}

void CSTreeController::generateResultsReport() {
    if (!canExportReport()) {
        return;
    }
    auto report = ResultsReport::create();
    report->configureWithRoot(shownTarget()->scannedRoot());
    QPointer<QWidget> window = mViews.window;
    report->setSavePanel([window](const BaseReport::SavePanelRequest& request,
                                  std::function<void(std::optional<std::string>)> chosen) {
        if (window == nullptr) {
            chosen(std::nullopt);
            return;
        }
        auto* panel = new QFileDialog(window, tr("Export Report"));
        panel->setAttribute(Qt::WA_DeleteOnClose);
        panel->setAcceptMode(QFileDialog::AcceptSave);
        panel->setDirectory(QFile::decodeName(platform::UserFolders::current().home().c_str()));
        panel->setDefaultSuffix(QString::fromStdString(request.allowedExtension));
        panel->setNameFilter(tr("Tab-separated report (*.%1)")
                                 .arg(QString::fromStdString(request.allowedExtension)));
        panel->setDirectory(QFile::decodeName(QByteArray::fromStdString(request.folder)));
        panel->selectFile(QString::fromStdString(request.proposedName));
        auto answered = std::make_shared<bool>(false);
        connect(panel, &QFileDialog::fileSelected, panel, [chosen, answered](const QString& file) {
            *answered = true;
            chosen(QFile::encodeName(file).toStdString());
        });
        connect(panel, &QFileDialog::finished, panel, [chosen, answered](int) {
            if (!*answered) {
                *answered = true;
                chosen(std::nullopt);
            }
        });
        panel->open();
    });
    report->saveWithShouldOpen(
        false, true, [this, window](std::optional<std::string>, std::optional<std::string> error) {
            if (error && window != nullptr) {
                AlertText text;
                text.message = tr("The report could not be saved");
                text.informative = qtText(*error);
                text.buttons = {tr("OK")};
                showAlertWindow(showAlert(window, text, {}));
            }
        });
}

// ---- Purgeable space

void CSTreeController::purgeableSpaceCleanerStateChanged(bool recovering) {
    mViews.radialView->update();
    if (mCollection != nullptr) {
        mCollection->purgeableSpaceCleanerStateChanged(recovering);
    }
}

void CSTreeController::purgeableSpaceCleanerNotifyAboutPerformRecovery(
    VolumeSystemItem&, const std::vector<std::string>&) {
    // The cleaner took the vanished entries out of the tree: totals changed.
    mRadial.ReinitRootParams();
    mViews.radialView->update();
    applyRootForLists(mRadial.root());
}

// ---- Folder lists

void CSTreeController::connectDiagramInteraction() {
    mDiagramBridge = std::make_unique<DiagramWindowBridge>(*this, mViews.window);
    mRadial.setHost(mDiagramBridge.get());
    countUnscannedFolderEntries(mRadial);
    if (mViews.radialView == nullptr) {
        return;
    }
    // The glow pulses while the diagram grows with a scan.
    connect(this, &CSTreeController::scanningChanged, mViews.radialView, [this](bool scanning) {
        if (scanning) {
            mViews.radialView->overlay().StartAnimation();
        } else {
            mViews.radialView->overlay().StopAnimation();
        }
    });
}

void CSTreeController::contentsPanelSelectionChanged(const ItemList& selected) {
    emit itemSelectionChanged();
    mRadial.selectItems(selected);
    saveViewState();
    // One row chosen in a list is also shown on the diagram, with its hint.
    if (mViews.radialView != nullptr) {
        mViews.radialView->highlightListItem(selected.size() == 1 ? selected.front() : nullptr);
    }
    if (mDiagramBridge != nullptr) {
        mDiagramBridge->setListSelection(selected);
    }
    // An open preview follows the rows the user moves to.
    if (!selected.empty() && PreviewController::isVisible()) {
        std::vector<std::string> paths;
        for (const ItemRef& item : selected) {
            paths.push_back(item->getFullPath());
        }
        PreviewController::sharedPreviewController().setPreviewItems(std::move(paths));
    }
}

void CSTreeController::contentsPanelPreview(const std::vector<std::string>& paths) {
    mItemCommands->preview(paths);
}

void CSTreeController::contentsPanelGoUp() {
    if (ItemRef shown = mRadial.root(); shown != nullptr && shown->getParent() != nullptr) {
        mRadial.moveUpTo(ItemRef(shown->getParent()));
    }
}

void CSTreeController::contentsPanelWantsGrantAccessFor(const ItemRef& folder) {
    showSomeFoldersWereNotScannedAlertForItem(folder.get());
}

void CSTreeController::contentsPanelRowMenu(const ItemRef& node, const QPoint& globalPos) {
    if (mViews.radialView == nullptr) {
        return;
    }
    // The diagram's own menu, validated for the row's node.
    QMenu* menu = mViews.radialView->menuController().buildMenuFor(node, mViews.window).release();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(globalPos);
}

std::vector<std::string> CSTreeController::selectedItemPaths() const {
    const bool listsShown = mViews.rightStack != nullptr && mViews.contentsPanel != nullptr &&
                            mViews.rightStack->currentWidget() == mViews.rightPanelWidget;
    return listsShown ? ItemCommands::pathsOf(mViews.contentsPanel->selectedItems())
                      : std::vector<std::string>{};
}

// ---- Main menu

bool CSTreeController::canPerformMainMenuAction(MainMenuAction code, const MainMenuItem&) {
    if (code == MainMenuAction::Find) {
        return mViews.contentsPanel != nullptr && mViews.contentsPanel->isVisible();
    }
    const int number = static_cast<int>(code);
    if (number >= static_cast<int>(MainMenuAction::CopyToFolder) &&
        number <= static_cast<int>(MainMenuAction::DeselectAll)) {
        return mCollection->canPerformMainMenuAction(number);
    }
    if (number > static_cast<int>(MainMenuAction::Information)) {
        return false;
    }
    // The left panel's target while it has the keyboard, else the rows.
    if (mVolsController.hasKeyboardFocus()) {
        return mVolsController.canPerformMainMenuAction(number, nullptr);
    }
    return !selectedItemPaths().empty();
}

void CSTreeController::performMainMenuAction(MainMenuAction code) {
    if (code == MainMenuAction::Find) {
        mViews.contentsPanel->focusSearchField();
        return;
    }
    const int number = static_cast<int>(code);
    if (number >= static_cast<int>(MainMenuAction::CopyToFolder) &&
        number <= static_cast<int>(MainMenuAction::DeselectAll)) {
        mCollection->performMainMenuAction(number);
        return;
    }
    if (mVolsController.hasKeyboardFocus()) {
        mVolsController.performMainMenuAction(number);
        return;
    }
    const std::vector<std::string> paths = selectedItemPaths();
    switch (code) {
        case MainMenuAction::ShowInFileManager:
            mItemCommands->reveal(paths);
            break;
        case MainMenuAction::Preview:
            mItemCommands->preview(paths);
            break;
        case MainMenuAction::Information:
            mItemCommands->showProperties(paths);
            break;
        default:
            break;
    }
}

}  // namespace korvex
