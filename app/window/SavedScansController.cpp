#include "app/window/SavedScansController.h"

#include "app/settings/Settings.h"
#include "app/toolkit/Alert.h"
#include "app/window/CSTreeController.h"
#include "app/window/ScanSummaryPanel.h"
#include "browse/changes/ChangesListView.h"
#include "browse/lists/ContentsPanel.h"
#include "browse/lists/ItemTexts.h"
#include "diagram/ChangeLegend.h"
#include "diagram/RadialView.h"
#include "platform/HostName.h"
#include "platform/UserFolders.h"
#include "scan/format/SizeFormatter.h"
#include "scan/saved/SavedScanTrust.h"
#include "scan/saved/SavedScanWriter.h"
#include "scan/saved/ScanFile.h"

#include <QDateTime>
#include <QEvent>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>

#include <cstdlib>
#include <filesystem>

namespace korvex {

namespace {

constexpr int kLegendMargin = 10;

// Where the file dialogs start: the kept scans once there are any.
QString scanFolder(const ScanHistory& history) {
    std::error_code error;
    const std::string kept = history.defaultFolder();
    return QFile::decodeName((std::filesystem::is_directory(kept, error)
                                  ? kept
                                  : platform::UserFolders::current().home())
                                 .c_str());
}

QString fileFilter() {
    return QObject::tr("Scans (*.korvexscan *.json);;All files (*)");
}

std::string localPath(const QString& file) {
    return QFile::encodeName(file).toStdString();
}

bool isDark(const QWidget& widget) {
    return widget.palette().color(QPalette::Window).lightness() < 128;
}

// Keeps the legend in the diagram's lower left corner.
class LegendPlacer : public QObject {
  public:
    LegendPlacer(QWidget* view, QWidget* legend) : QObject(legend), mLegend(legend) {
        view->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Resize || event->type() == QEvent::Show) {
            place(*static_cast<QWidget*>(watched));
        }
        return false;
    }

    void place(const QWidget& view) const {
        mLegend->move(kLegendMargin, view.height() - mLegend->height() - kLegendMargin);
    }

  private:
    QWidget* mLegend;
};

}  // namespace

QString scanDateText(std::int64_t scanTime) {
    return QDateTime::fromSecsSinceEpoch(scanTime).toString(QStringLiteral("yyyy-MM-dd HH:mm"));
}

QString scanSourceText(const SavedScan& scan) {
    const QString host = scan.host.empty() ? QObject::tr("an unnamed machine") : qtText(scan.host);
    return QObject::tr("%1:%2, %3")
        .arg(host, qtText(scan.root->fullPath()), scanDateText(scan.scanTime));
}

QString savedScanTitle(const SavedScan& scan) {
    return QObject::tr("Saved scan of %1").arg(scanSourceText(scan));
}

SavedScansController::SavedScansController(CSTreeController& controller,
                                           const MainWindowViews& views)
    : mController(controller),
      mWindow(views.window),
      mSummary(dynamic_cast<ScanSummaryPanel*>(views.rightPanelWidget)),
      mContents(views.contentsPanel),
      mRadialView(views.radialView),
      mChangesList(new ChangesListView(views.contentsPanel)),
      mLegend(new ChangeLegend(views.radialView)) {
    mChangesList->hide();
    mLegend->hide();
    new LegendPlacer(views.radialView, mLegend);
    connect(mChangesList, &ChangesListView::nodeChosen, this,
            [this](const ItemRef& node) { mController.contentsPanelSelectionChanged({node}); });
    // A comparison belongs to the tree it was made for.
    connect(&mController, &CSTreeController::targetChanged, this, [this] {
        if (mComparison != nullptr && shownRoot() != mNewer) {
            stopComparing();
        }
        updateSourceNote();
    });
    connect(&mController, &CSTreeController::scanningChanged, this, [this](bool scanning) {
        if (scanning && mComparison != nullptr && shownRoot() != mNewer) {
            stopComparing();
        }
    });
}

SavedScansController::~SavedScansController() {
    if (mComparison != nullptr) {
        mController.radialController().setSectorTint({});
        mController.radialController().setHintAddition({});
    }
}

FolderRef SavedScansController::shownRoot() const {
    const TopLevelRef target = mController.shownTarget();
    return target != nullptr ? target->scannedRoot() : nullptr;
}

void SavedScansController::alert(const QString& message, const QString& detail) {
    AlertText text;
    text.message = message;
    text.informative = detail;
    text.buttons = {tr("OK")};
    mAlert = showAlert(mWindow, text, {});
}

std::optional<SavedScan> SavedScansController::readOrAlert(const std::string& path) {
    SavedScanResult result = readScanFile(path);
    if (!result.scan) {
        alert(tr("The scan could not be opened"), qtText(result.error));
    }
    return std::move(result.scan);
}

// ---- Saved scans

void SavedScansController::chooseScanToOpen() {
    const QString file =
        QFileDialog::getOpenFileName(mWindow, tr("Open Scan"), scanFolder(history()), fileFilter());
    if (!file.isEmpty()) {
        openScanFile(localPath(file));
    }
}

bool SavedScansController::openScanFile(const std::string& path) {
    std::optional<SavedScan> scan = readOrAlert(path);
    if (!scan) {
        return false;
    }
    const QString title = savedScanTitle(*scan);
    auto target = std::make_shared<SavedScanTarget>(std::move(*scan), path, title.toStdString());
    mFileOfTree[target->scannedRoot().get()] = path;
    mController.showSavedTarget(target);
    return true;
}

bool SavedScansController::canSaveScan() const {
    const TopLevelRef target = mController.shownTarget();
    return target != nullptr && target->scannedRoot() != nullptr &&
           target->scanningState() != TopLevelItem::Scanning;
}

void SavedScansController::chooseFileToSaveScan() {
    if (!canSaveScan()) {
        return;
    }
    const FolderRef root = shownRoot();
    const std::string name =
        std::string(root->name().empty() ? "root" : root->name()) + ".korvexscan";
    const QString file = QFileDialog::getSaveFileName(
        mWindow, tr("Save Scan"),
        QFile::decodeName((platform::UserFolders::current().home() + "/" + name).c_str()),
        fileFilter());
    if (file.isEmpty()) {
        return;
    }
    if (auto error = saveShownScan(localPath(file))) {
        alert(tr("The scan could not be saved"), qtText(*error));
    }
}

std::optional<std::string> SavedScansController::saveShownScan(const std::string& path) const {
    if (!canSaveScan()) {
        return std::string("there is no finished scan to save");
    }
    const TopLevelRef target = mController.shownTarget();
    // A scan from a file keeps what the file said: host, time, identities.
    if (const auto* saved = dynamic_cast<const SavedScanTarget*>(target.get())) {
        return writeSavedScan(saved->scan(), path);
    }
    const FolderRef root = target->scannedRoot();
    const bool lastScan = mController.dirwalker().getRootItem() == root;
    SavedScan scan = savedScanOf(
        root, target->entriesRead().value_or(0),
        lastScan ? mController.dirwalker().lastDeniedFolders() : std::vector<std::string>{}, 0,
        target->scanningState() == TopLevelItem::Cancelled);
    return writeSavedScan(scan, path);
}

std::optional<std::string> SavedScansController::refusalFor(const ItemList& items) const {
    // Only the shown saved scan's items can be asked about: those of one
    // shown before left the collection with it.
    const auto* saved = dynamic_cast<const SavedScanTarget*>(mController.shownTarget().get());
    if (saved == nullptr) {
        return std::nullopt;
    }
    std::vector<const FileSystemItem*> fromFile;
    for (const ItemRef& item : items) {
        if (item->getTopParent() == saved->scannedRoot().get()) {
            fromFile.push_back(item.get());
        }
    }
    if (fromFile.empty()) {
        return std::nullopt;
    }
    return SavedScanTrust(saved->scan()).refusalFor(fromFile);
}

void SavedScansController::savedTargetLeft(const TopLevelRef& target) {
    if (target != nullptr && target->scannedRoot() != nullptr) {
        mController.collection().removeChildrenOfFolderItem(*target->scannedRoot());
        mFileOfTree.erase(target->scannedRoot().get());
    }
}

void SavedScansController::updateSourceNote() {
    const auto* saved = dynamic_cast<const SavedScanTarget*>(mController.shownTarget().get());
    // A drag hands paths to a file manager, which may move whatever is there now.
    if (mContents != nullptr) {
        mContents->setFileDragsEnabled(saved == nullptr);
    }
    if (mRadialView != nullptr) {
        mRadialView->setFileDragsEnabled(saved == nullptr);
    }
    if (mSummary == nullptr) {
        return;
    }
    QStringList lines;
    if (saved != nullptr) {
        lines << qtText(saved->getName());
    }
    if (mComparison != nullptr) {
        // Another folder's scan (or another machine's) compares by names alone: say which.
        const std::string newerHost = saved != nullptr ? saved->scan().host : platform::hostName();
        const bool sameTarget =
            mOlder.root->fullPath() == mNewer->fullPath() && mOlder.host == newerHost;
        lines << tr("Compared with the scan of %1")
                     .arg(sameTarget ? scanDateText(mOlder.scanTime) : scanSourceText(mOlder));
    }
    mSummary->setSourceNote(lines.join(QLatin1Char('\n')));
    if (mWindow != nullptr) {
        // The application's name follows the title by itself.
        mWindow->setWindowTitle(lines.isEmpty() ? QStringLiteral("Korvex") : lines.front());
    }
}

// ---- Comparison

bool SavedScansController::canCompare() const {
    return canSaveScan();
}

void SavedScansController::chooseScanToCompare() {
    if (!canCompare()) {
        return;
    }
    const QString file = QFileDialog::getOpenFileName(mWindow, tr("Compare with Saved Scan"),
                                                      scanFolder(history()), fileFilter());
    if (!file.isEmpty()) {
        compareWithFile(localPath(file));
    }
}

bool SavedScansController::compareWithFile(const std::string& path) {
    if (!canCompare()) {
        return false;
    }
    std::optional<SavedScan> older = readOrAlert(path);
    if (!older) {
        return false;
    }
    compareWith(std::move(*older));
    return true;
}

bool SavedScansController::canCompareWithPrevious() const {
    if (!canCompare()) {
        return false;
    }
    const FolderRef root = shownRoot();
    auto own = mFileOfTree.find(root.get());
    return history()
        .previousOf(root->fullPath(), own != mFileOfTree.end() ? own->second : std::string())
        .has_value();
}

void SavedScansController::compareWithPreviousScan() {
    if (!canCompareWithPrevious()) {
        return;
    }
    const FolderRef root = shownRoot();
    auto own = mFileOfTree.find(root.get());
    compareWithFile(*history().previousOf(root->fullPath(),
                                          own != mFileOfTree.end() ? own->second : std::string()));
}

void SavedScansController::compareWith(SavedScan older) {
    stopComparing();
    mOlder = std::move(older);
    mNewer = shownRoot();
    mComparison = std::make_unique<ScanComparison>(*mOlder.root, *mNewer);
    applyComparisonView();
}

std::string SavedScansController::changeTextFor(const FileSystemItem& node) const {
    if (mComparison == nullptr || node.isSpecial()) {
        return {};
    }
    const std::int64_t now = node.gettotalsize();
    const std::optional<std::int64_t> was = mComparison->oldSizeOf(&node);
    const std::string change = signedSizeString(mComparison->deltaOf(&node));
    if (!was) {
        return tr("New, now %1 (%2)").arg(qtText(sizeString(now)), qtText(change)).toStdString();
    }
    return tr("Was %1, now %2 (%3)")
        .arg(qtText(sizeString(*was)), qtText(sizeString(now)), qtText(change))
        .toStdString();
}

// The strongest colour goes to the biggest change among the diagram root's
// children, so that a folder zoomed into shows its own changes clearly.
void SavedScansController::rescaleFor(const FileSystemItem* root) {
    mScaleRoot = root;
    std::int64_t biggest = 1;
    for (std::size_t i = 0; root != nullptr && i < root->numberOfChildren(); ++i) {
        biggest = std::max<std::int64_t>(biggest,
                                         std::llabs(mComparison->deltaOf(root->childAtIndex(i))));
    }
    mColours = ChangeScale(biggest, isDark(*mLegend));
    mLegend->setScale(mColours, tr("Change since %1").arg(scanDateText(mOlder.scanTime)));
}

void SavedScansController::applyComparisonView() {
    RadialController& radial = mController.radialController();
    rescaleFor(radial.root().get());
    radial.setSectorTint([this](const FileSystemItem* node) -> std::optional<QColor> {
        if (const FileSystemItem* root = mController.radialController().root().get();
            root != mScaleRoot) {
            rescaleFor(root);
        }
        return node == nullptr ? mColours.neutral() : mColours.colorFor(mComparison->deltaOf(node));
    });
    radial.setHintAddition([this](const FileSystemItem& node) { return changeTextFor(node); });
    mChangesList->changes().setComparison(mComparison.get(), mNewer);
    if (mContents != nullptr) {
        mContents->setChangesList(mChangesList);
    }
    mLegend->show();
    mLegend->raise();
    if (auto* view = mLegend->parentWidget()) {
        mLegend->move(kLegendMargin, view->height() - mLegend->height() - kLegendMargin);
        view->update();
    }
    updateSourceNote();
}

void SavedScansController::stopComparing() {
    if (mComparison == nullptr) {
        return;
    }
    RadialController& radial = mController.radialController();
    radial.setSectorTint({});
    radial.setHintAddition({});
    mChangesList->changes().setComparison(nullptr, nullptr);
    mLegend->hide();
    mComparison.reset();
    mOlder = {};
    mNewer = nullptr;
    mScaleRoot = nullptr;
    if (mContents != nullptr) {
        mContents->setChangesList(nullptr);
    }
    if (auto* view = mLegend->parentWidget()) {
        view->update();
    }
    updateSourceNote();
}

// ---- History

ScanHistory SavedScansController::history() const {
    return ScanHistory(ScanHistory::defaultFolder());
}

void SavedScansController::scanEnded(bool finished) {
    const FolderRef root = mController.dirwalker().getRootItem();
    if (!finished || root == nullptr || !Settings::keepScanHistory()) {
        return;
    }
    // Kept for comparisons, which need no identities: the window does not
    // wait seconds after every big scan for them.
    SavedScan scan = savedScanOf(root, mController.dirwalker().lastEntriesRead(),
                                 mController.dirwalker().lastDeniedFolders(), 0, false, false);
    ScanHistory::Recorded recorded = history().record(scan);
    if (recorded.error) {
        alert(tr("The scan could not be kept in the history"), qtText(*recorded.error));
        return;
    }
    mFileOfTree[root.get()] = recorded.file;
}

}  // namespace korvex
