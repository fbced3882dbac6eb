#include "app/window/MainWindow.h"

#include "app/menu/MainMenuController.h"
#include "app/menu/QActionMenuItems.h"
#include "app/preferences/PreferencesWindow.h"
#include "app/toolkit/Appearance.h"
#include "app/toolkit/BusySpinner.h"
#include "app/toolkit/FocusRing.h"
#include "app/window/SavedScansController.h"
#include "app/window/ScanSummaryPanel.h"
#include "browse/lists/ContentsPanel.h"
#include "cleanup/collection/views/CollectionPanel.h"
#include "diagram/DiagramBackgroundPanel.h"
#include "diagram/DiagramHintPanel.h"
#include "diagram/RadialView.h"
#include "diagram/volumes/UnscannedOverview.h"
#include "diagram/volumes/VolumesListView.h"
#include "platform/UserFolders.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <vector>

namespace korvex {

namespace {
constexpr int kLeftWidth = 230;
// The right panel's share of the width beside the left one.
constexpr double kRightShare = 0.42;
// Small enough for an 800 × 600 screen.
constexpr QSize kMinimumSize(780, 540);
// What the window asks for, when the screen has room: a 1366 × 768 one
// keeps the window whole beside its panel.
constexpr QSize kDefaultSize(1280, 720);
constexpr int kScreenMargin = 40;

// The controls inside `region` that Tab stops at, in their present order.
std::vector<QWidget*> tabStopsIn(QWidget* region) {
    std::vector<QWidget*> stops;
    QWidget* widget = region;
    do {
        if ((widget == region || region->isAncestorOf(widget)) &&
            (widget->focusPolicy() & Qt::TabFocus) == Qt::TabFocus) {
            stops.push_back(widget);
        }
        widget = widget->nextInFocusChain();
    } while (widget != region);
    return stops;
}

QSize defaultSizeOn(const QScreen* screen) {
    if (screen == nullptr) {
        return kDefaultSize;
    }
    const QSize room = screen->availableGeometry().size() - QSize(kScreenMargin, kScreenMargin);
    return kDefaultSize.boundedTo(room).expandedTo(kMinimumSize);
}
}  // namespace

MainWindow::MainWindow(std::string homeFolder, CSTreeController::Timing timing, QWidget* parent)
    : QMainWindow(parent), mController(std::make_unique<CSTreeController>(std::move(homeFolder))) {
    setWindowTitle(QStringLiteral("Korvex"));
    setMinimumSize(kMinimumSize);
    resize(defaultSizeOn(screen()));
    mController->setTiming(timing);

    mViews.window = this;
    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    QWidget* toolbar = makeToolbar();
    column->addWidget(toolbar);

    mSplitter = new QSplitter(Qt::Horizontal, central);
    mSplitter->setChildrenCollapsible(false);
    // A handle that shows where to drag: a line, lit under the pointer.
    mSplitter->setHandleWidth(5);
    mSplitter->setStyleSheet(QStringLiteral(
        "QSplitter::handle { background: palette(mid); border-left: 2px solid palette(window);"
        " border-right: 2px solid palette(window); }"
        "QSplitter::handle:hover { background: palette(highlight); }"));
    mViews.volumesList = new VolumesListView(mController->volumesController(), mSplitter);
    auto* diagramPanel = new DiagramBackgroundPanel(mController->radialController(), mSplitter);
    mViews.radialView = &diagramPanel->radialView();
    mViews.radialView->setMinimumWidth(280);
    // The right side: the panel of the shown target above the collection.
    auto* right = new QWidget(mSplitter);
    auto* rightColumn = new QVBoxLayout(right);
    rightColumn->setContentsMargins(0, 0, 0, 0);
    rightColumn->setSpacing(0);
    mViews.rightStack = new QStackedWidget(right);
    mViews.rightStack->setMinimumWidth(290);
    mViews.collectionPanel = new CollectionPanel(right);
    rightColumn->addWidget(mViews.rightStack, 1);
    rightColumn->addWidget(mViews.collectionPanel);
    mViews.overview = new UnscannedOverview(mViews.rightStack);
    mSummary = new ScanSummaryPanel(mViews.rightStack);
    mSummary->setEntriesSource([this]() -> std::int64_t {
        const TopLevelRef entry = mController->shownTarget();
        if (entry == nullptr) {
            return ScanSummaryPanel::kEntriesUnknown;
        }
        if (entry->scanningState() == TopLevelItem::Scanning) {
            return ScanSummaryPanel::kEntriesScanning;
        }
        return entry->entriesRead().value_or(ScanSummaryPanel::kEntriesUnknown);
    });
    mViews.rightStack->addWidget(mViews.overview);
    mViews.rightStack->addWidget(mSummary);
    mViews.rightPanel = mSummary;
    mViews.rightPanelWidget = mSummary;
    mViews.contentsPanel = mSummary->contents();
    mViews.biggestFiles = &mSummary->contents()->biggestFilesController();
    mSplitter->addWidget(mViews.volumesList);
    mSplitter->addWidget(diagramPanel);
    mSplitter->addWidget(right);
    mSplitter->setStretchFactor(0, 0);
    mSplitter->setStretchFactor(1, 1);
    mSplitter->setStretchFactor(2, 0);
    const int rightWidth = static_cast<int>((width() - kLeftWidth) * kRightShare);
    mSplitter->setSizes({kLeftWidth, width() - kLeftWidth - rightWidth, rightWidth});
    column->addWidget(mSplitter, 1);
    setCentralWidget(central);
    orderTabStops({toolbar, mViews.volumesList, mViews.radialView, mViews.rightStack,
                   mViews.collectionPanel});
    new FocusRing(this);

    makeMenus();
    connect(mController.get(), &CSTreeController::scanningChanged, this,
            [this](bool scanning) { updateScanControls(scanning); });
    connect(mController.get(), &CSTreeController::targetChanged, this, [this] {
        validateMenus();
        updateStartStopTitle();
        // The figures under the title are the new target's.
        mSummary->updateSummeryControllerResultInfo();
    });
    connect(mController.get(), &CSTreeController::itemSelectionChanged, this,
            [this] { validateMenus(); });
    connect(mController.get(), &CSTreeController::preferencesRequested, this,
            [this] { openPreferences(); });
    connect(qApp, &QApplication::focusChanged, this, [this] { validateMenus(); });
    MainMenuController::shared().setCategoryListPanel(this);
    mController->windowDidLoad(mViews);
    updateScanControls(false);
}

MainWindow::~MainWindow() {
    // Closing the window moves the focus, which would validate the menus
    // against a controller already gone.
    disconnect(qApp, nullptr, this, nullptr);
    MainMenuController::shared().setCategoryListPanel(nullptr);
    // The controller holds pointers to the widgets: it goes first.
    mController.reset();
}

QWidget* MainWindow::makeToolbar() {
    auto* bar = new QFrame(this);
    bar->setObjectName(QStringLiteral("scanBar"));
    // Palette references keep both appearances right without restyling.
    bar->setStyleSheet(QStringLiteral(
        "#scanBar { border-bottom: 1px solid palette(mid); }"
        "#startStopButton { background: palette(highlight); color: palette(highlighted-text);"
        " border: none; border-radius: 6px; padding: 6px 18px; font-weight: 600; }"
        "#startStopButton:pressed { background: palette(dark); }"
        "#startStopButton:disabled { background: palette(mid); color: palette(light); }"
        "#scanFolderButton { background: transparent; color: palette(button-text);"
        " border: 1px solid palette(mid);"
        " border-radius: 6px; padding: 6px 14px; }"
        "#scanFolderButton:hover { background: palette(alternate-base); }"));
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(14, 8, 14, 8);
    row->setSpacing(10);
    auto* start = new QPushButton(bar);
    start->setObjectName(QStringLiteral("startStopButton"));
    start->setDefault(true);
    start->setMinimumWidth(132);
    mViews.startStopButton = start;
    mViews.pVertelka = new BusySpinner(bar);
    mViews.dockProgress = new QProgressBar(bar);
    mViews.dockProgress->setRange(0, CSTreeController::kProgressMaximum);
    mViews.dockProgress->setTextVisible(false);
    mViews.dockProgress->setFixedWidth(220);
    mViews.dockProgress->setMaximumHeight(8);
    mViews.mStatus = new QLabel(bar);
    mViews.mStatus->setObjectName(QStringLiteral("scanStatus"));
    mViews.mStatus->setMinimumWidth(60);
    mViews.mStatus->setForegroundRole(QPalette::PlaceholderText);
    auto* chooseFolder = new QPushButton(tr("Scan Folder…"), bar);
    chooseFolder->setObjectName(QStringLiteral("scanFolderButton"));
    connect(chooseFolder, &QPushButton::clicked, this, [this] { chooseFolderToScan(); });
    row->addWidget(start);
    row->addWidget(chooseFolder);
    row->addWidget(mViews.pVertelka);
    row->addWidget(mViews.dockProgress);
    row->addWidget(mViews.mStatus);
    row->addStretch(1);
    return bar;
}

QAction* MainWindow::addMenuAction(QMenu* menu, const QString& title,
                                   const QKeySequence& shortcut) {
    QAction* action = menu->addAction(title);
    action->setShortcut(shortcut);
    return action;
}

void MainWindow::makeMenus() {
    auto& router = MainMenuController::shared();
    auto routed = [&](QMenu* menu, const QString& title, const char* identifier,
                      MainMenuItem::Kind kind, const QKeySequence& shortcut = {}) {
        QAction* action = addMenuAction(menu, title, shortcut);
        action->setObjectName(QString::fromLatin1(identifier));
        QActionMenuItems::setKind(*action, kind);
        QActionMenuItems::connect(router, *action);
        mMenuActions.push_back(action);
        return action;
    };
    using Kind = MainMenuItem::Kind;

    QMenu* file = menuBar()->addMenu(tr("&File"));
    connect(addMenuAction(file, tr("Scan Folder…"), QKeySequence(tr("Ctrl+Shift+O"))),
            &QAction::triggered, this, [this] { chooseFolderToScan(); });
    // The saved-scan commands reach their controller once the window has loaded.
    auto saved = [this] { return &mController->savedScans(); };
    connect(addMenuAction(file, tr("Open Scan…"), QKeySequence::Open), &QAction::triggered, this,
            [saved] { saved()->chooseScanToOpen(); });
    mSaveScanAction = addMenuAction(file, tr("Save Scan…"), QKeySequence::Save);
    connect(mSaveScanAction, &QAction::triggered, this,
            [saved] { saved()->chooseFileToSaveScan(); });
    connect(addMenuAction(file, tr("Start or Stop Scanning"), QKeySequence(tr("Ctrl+R"))),
            &QAction::triggered, this, [this] { mController->toggleStartStopScan(); });
    mViews.exportReportAction =
        addMenuAction(file, tr("Export Report…"), QKeySequence(tr("Ctrl+E")));
    file->addSeparator();
    connect(addMenuAction(file, tr("Quit"), QKeySequence::Quit), &QAction::triggered, qApp,
            &QApplication::quit);

    QMenu* edit = menuBar()->addMenu(tr("&Edit"));
    routed(edit, tr("Copy to Folder…"), "copyToFolder", Kind::Ordinary);
    routed(edit, tr("Move to Folder…"), "moveToFolder", Kind::Ordinary);
    routed(edit, tr("Move to Trash"), "remove", Kind::Ordinary, QKeySequence::Delete);
    routed(edit, tr("Deselect All"), "deselectAll", Kind::Ordinary,
           QKeySequence(tr("Ctrl+Shift+A")));
    edit->addSeparator();
    routed(edit, tr("Find"), "find", Kind::Ordinary, QKeySequence::Find);
    edit->addSeparator();
    QAction* preferences = addMenuAction(edit, tr("Preferences…"), QKeySequence(tr("Ctrl+,")));
    preferences->setMenuRole(QAction::PreferencesRole);
    connect(preferences, &QAction::triggered, this, [this] { openPreferences(); });

    QMenu* item = menuBar()->addMenu(tr("&Item"));
    routed(item, tr("Show in File Manager"), "", Kind::ShowInFileManager,
           QKeySequence(tr("Ctrl+Shift+R")));
    routed(item, tr("Preview"), "", Kind::Preview, QKeySequence(tr("Ctrl+Y")));
    routed(item, tr("Properties"), "", Kind::Information, QKeySequence(tr("Ctrl+I")));

    QMenu* view = menuBar()->addMenu(tr("&View"));
    routed(view, tr(MainMenuController::kCollapseCategoryListTitle), "", Kind::CategoryList,
           QKeySequence(tr("Ctrl+Alt+S")));
    // A scanned volume's free space as a sector of the diagram, as a click
    // on the centre of the diagram switches it.
    mFreeSpaceAction = addMenuAction(view, tr("Show Free Space"));
    mFreeSpaceAction->setCheckable(true);
    connect(mFreeSpaceAction, &QAction::triggered, this, [this] {
        RadialController& diagram = mController->radialController();
        if (!diagram.isAnimating()) {
            diagram.setDrawFreeSector();
        }
        validateMenus();
    });
    view->addSeparator();
    mCompareAction = addMenuAction(view, tr("Compare with Saved Scan…"));
    connect(mCompareAction, &QAction::triggered, this, [saved] { saved()->chooseScanToCompare(); });
    mComparePreviousAction = addMenuAction(view, tr("Compare with Previous Scan"));
    connect(mComparePreviousAction, &QAction::triggered, this,
            [saved] { saved()->compareWithPreviousScan(); });
    mStopComparingAction = addMenuAction(view, tr("Stop Comparing"));
    connect(mStopComparingAction, &QAction::triggered, this, [saved] { saved()->stopComparing(); });
    view->addSeparator();
    QMenu* appearance = view->addMenu(tr("Appearance"));
    auto* choices = new QActionGroup(appearance);
    const QStringList names{tr("System"), tr("Light"), tr("Dark")};
    for (int type = 0; type < names.size(); ++type) {
        QAction* choice = appearance->addAction(names[type]);
        choice->setCheckable(true);
        choices->addAction(choice);
        mAppearanceChoices.push_back(choice);
        connect(choice, &QAction::triggered, this, [this, type] {
            Appearance::setStoredType(static_cast<unsigned long long>(type));
            if (mPreferences != nullptr) {
                mPreferences->refresh();
            }
        });
    }
    showStoredAppearanceChoice();
    connect(appearance, &QMenu::aboutToShow, this, [this] { showStoredAppearanceChoice(); });

    QMenu* help = menuBar()->addMenu(tr("&Help"));
    connect(help->addAction(tr("About Korvex")), &QAction::triggered, this, [this] {
        QMessageBox::about(this, tr("About Korvex"),
                           tr("<b>Korvex</b><p>See what takes the space on your disks and "
                              "free it.</p>"));
    });

    for (QMenu* menu : {file, edit, item, view, help}) {
        connect(menu, &QMenu::aboutToShow, this, [this] { validateMenus(); });
    }
}

// Tab runs through the window as it reads: the scan controls, the targets,
// the diagram, the right panel and the Selected list below it.
void MainWindow::orderTabStops(std::initializer_list<QWidget*> regions) {
    QWidget* previous = nullptr;
    for (QWidget* region : regions) {
        for (QWidget* stop : tabStopsIn(region)) {
            if (previous != nullptr) {
                QWidget::setTabOrder(previous, stop);
            }
            previous = stop;
        }
    }
}

void MainWindow::validateMenus() {
    QActionMenuItems::validate(MainMenuController::shared(), mMenuActions);
    mViews.exportReportAction->setEnabled(mController->canExportReport());
    const SavedScansController& saved = mController->savedScans();
    mSaveScanAction->setEnabled(saved.canSaveScan());
    mCompareAction->setEnabled(saved.canCompare());
    mComparePreviousAction->setEnabled(saved.canCompareWithPrevious());
    mStopComparingAction->setEnabled(saved.isComparing());
    const RadialController& diagram = mController->radialController();
    mFreeSpaceAction->setChecked(diagram.drawsFreeSector());
    mFreeSpaceAction->setEnabled(diagram.canSwitchFreeSector() || diagram.drawsFreeSector());
}

void MainWindow::showStoredAppearanceChoice() {
    const unsigned long long stored = Appearance::storedType();
    for (int type = 0; type < mAppearanceChoices.size(); ++type) {
        mAppearanceChoices[type]->setChecked(stored == static_cast<unsigned long long>(type));
    }
}

PreferencesWindow& MainWindow::openPreferences() {
    if (mPreferences == nullptr) {
        mPreferences = new PreferencesWindow(this);
        connect(mPreferences, &PreferencesWindow::recentsLimitChosen, this, [this](int limit) {
            mController->folderFiling().setRecentsLimit(static_cast<unsigned long long>(limit));
        });
        connect(mPreferences, &PreferencesWindow::hintChanged, this, [this](bool shown) {
            if (!shown) {
                mViews.radialView->hintPanel().hide();
            }
        });
        connect(mPreferences, &PreferencesWindow::appearanceChanged, this,
                [this] { showStoredAppearanceChoice(); });
    }
    mPreferences->show();
    mPreferences->raise();
    mPreferences->activateWindow();
    return *mPreferences;
}

void MainWindow::chooseFolderToScan() {
    const QString folder = QFileDialog::getExistingDirectory(
        this, tr("Choose a Folder to Scan"),
        QFile::decodeName(platform::UserFolders::current().home().c_str()));
    if (!folder.isEmpty()) {
        mController->doScanFolder(QFile::encodeName(folder).toStdString());
    }
}

void MainWindow::updateScanControls(bool scanning) {
    mViews.dockProgress->setVisible(scanning || mController->isRunningUp());
    mViews.mStatus->setVisible(scanning);
    validateMenus();
    updateStartStopTitle();
}

void MainWindow::updateStartStopTitle() {
    // An unscanned target shows its own "Start Scanning" button in the
    // overview; a scanned one is scanned again.
    const TopLevelRef entry = mController->volumesController().getObjectForSelectedRow();
    const bool scanned = entry != nullptr && entry->scannedRoot() != nullptr;
    QAbstractButton* button = mViews.startStopButton;
    button->setText(mController->isProcessing() ? tr("Stop")
                    : scanned                   ? tr("Rescan")
                                                : tr("Start Scanning"));
    button->setVisible(mController->isProcessing() || scanned);
}

bool MainWindow::isCategoryListCollapsed() const {
    return !mViews.volumesList->isVisible();
}

void MainWindow::toggleCategoryListWidth() {
    mViews.volumesList->setVisible(!mViews.volumesList->isVisible());
}

void MainWindow::closeEvent(QCloseEvent* event) {
    QMainWindow::closeEvent(event);
    // Closing the window ends the application, even with a preview still open.
    if (event->isAccepted() && testAttribute(Qt::WA_QuitOnClose)) {
        QMetaObject::invokeMethod(qApp, &QApplication::quit, Qt::QueuedConnection);
    }
}

}  // namespace korvex
