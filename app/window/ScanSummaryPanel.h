#pragma once

#include "app/window/ContentPanel.h"

#include <QTimer>
#include <QWidget>

class QLabel;

namespace korvex {

class ContentsPanel;

// The right-hand side for a scanned target: the shown folder's name, size
// and what the scan read above the folder lists, biggest files and search.
class ScanSummaryPanel : public QWidget, public ContentPanel {
    Q_OBJECT
  public:
    explicit ScanSummaryPanel(QWidget* parent = nullptr);

    // How many entries the scan of the shown target read, or one of these.
    static constexpr std::int64_t kEntriesScanning = -1;
    static constexpr std::int64_t kEntriesUnknown = -2;
    void setEntriesSource(std::function<std::int64_t()> source) {
        mEntriesSource = std::move(source);
    }

    void updateWith(const ItemRef& root, bool rescan) override;
    void animateSwitchToScannedState(const ItemRef& root) override;
    void refreshItemInfoWithTopLevelItem(const TopLevelRef& entry) override;
    void updateSummeryControllerResultInfo() override;
    void applyRootForLists(const ItemRef& root) override;
    void setScanning(bool scanning) override;

    // Where the shown tree comes from when it is not a scan made now
    // ("Saved scan of …", "Compared with …"); empty hides the line.
    void setSourceNote(const QString& note);
    QLabel* sourceNoteLabel() const { return mSourceNote; }
    QLabel* titleLabel() const { return mTitle; }
    QLabel* sizeLabel() const { return mSize; }
    QLabel* detailsLabel() const { return mDetails; }
    ContentsPanel* contents() const { return mContents; }

  protected:
    void changeEvent(QEvent* event) override;

  private:
    void showRoot(const ItemRef& root);
    void applyPalette();

    ItemRef mScannedRoot;
    ItemRef mRoot;
    std::function<std::int64_t()> mEntriesSource;
    QLabel* mSourceNote;
    QLabel* mTitle;
    QLabel* mPath;
    QLabel* mSize;
    QLabel* mDetails;
    ContentsPanel* mContents;
    // Scan progress comes often; the lists follow a few times a second.
    QTimer mReloadTimer;
};

}  // namespace korvex
