#pragma once

#include "diagram/ChangeScale.h"
#include "scan/saved/SavedScanTarget.h"
#include "scan/saved/ScanComparison.h"
#include "scan/saved/ScanHistory.h"

#include <QObject>
#include <QPointer>

#include <map>
#include <memory>
#include <optional>
#include <string>

class QWidget;

namespace korvex {

class CSTreeController;
class ChangeLegend;
class ChangesListView;
class ContentsPanel;
class RadialView;
class ScanSummaryPanel;
struct MainWindowViews;

// Scans kept in files, in the window: opening one to browse it without
// touching the disk, saving the shown one, comparing the shown tree with an
// older scan (diagram colours, hint, "Changes" list), and the history of
// finished scans kept for that comparison when the user wants it.
class SavedScansController : public QObject {
    Q_OBJECT
  public:
    SavedScansController(CSTreeController& controller, const MainWindowViews& views);
    ~SavedScansController() override;

    // ---- Saved scans
    void chooseScanToOpen();
    // Shows the scan in the file; a file that cannot be read gets an alert.
    bool openScanFile(const std::string& path);
    bool canSaveScan() const;
    void chooseFileToSaveScan();
    // Nothing when saved, else why not.
    std::optional<std::string> saveShownScan(const std::string& path) const;
    // Why items of a tree read from a file may not be removed, moved or
    // copied; nothing for items of a scan made now.
    std::optional<std::string> refusalFor(const ItemList& items) const;
    // The window stopped showing a saved scan: its items leave the collection.
    void savedTargetLeft(const TopLevelRef& target);

    // ---- Comparison
    bool canCompare() const;
    void chooseScanToCompare();
    bool compareWithFile(const std::string& path);
    bool canCompareWithPrevious() const;
    void compareWithPreviousScan();
    void stopComparing();
    bool isComparing() const { return mComparison != nullptr; }
    const ScanComparison* comparison() const { return mComparison.get(); }
    ChangesListView* changesList() const { return mChangesList; }
    ChangeLegend* legend() const { return mLegend; }
    // "Was 1.2 GB, now 3.4 GB (+2.2 GB)"; empty when not comparing.
    std::string changeTextFor(const FileSystemItem& node) const;

    // ---- History
    // A scan ended: a finished one is kept when the user asked for a history.
    void scanEnded(bool finished);
    ScanHistory history() const;

    // The alert on screen, if any (for the window's tests).
    QWidget* currentAlert() const { return mAlert; }

  private:
    FolderRef shownRoot() const;
    std::optional<SavedScan> readOrAlert(const std::string& path);
    void compareWith(SavedScan older);
    void applyComparisonView();
    void rescaleFor(const FileSystemItem* root);
    void updateSourceNote();
    void alert(const QString& message, const QString& detail);

    CSTreeController& mController;
    QWidget* mWindow;
    ScanSummaryPanel* mSummary;
    ContentsPanel* mContents;
    RadialView* mRadialView;
    ChangesListView* mChangesList;
    ChangeLegend* mLegend;
    // The file each tree shown was kept in: the history entry of a finished
    // scan or the file a saved scan came from, never its own previous scan.
    std::map<const FolderSystemItem*, std::string> mFileOfTree;
    std::unique_ptr<ScanComparison> mComparison;
    SavedScan mOlder;
    FolderRef mNewer;
    const FileSystemItem* mScaleRoot = nullptr;
    ChangeScale mColours{1, false};
    QPointer<QWidget> mAlert;
};

// "HOST:PATH, DATE": which scan a file holds.
QString scanSourceText(const SavedScan& scan);
// "Saved scan of HOST:PATH, DATE", what the window calls a scan from a file.
QString savedScanTitle(const SavedScan& scan);
// The local date and time of a scan, to the minute.
QString scanDateText(std::int64_t scanTime);

}  // namespace korvex
