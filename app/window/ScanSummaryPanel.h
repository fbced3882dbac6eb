#pragma once

#include "app/window/ContentPanel.h"
#include "browse/biggest/BiggestFilesController.h"

#include <QWidget>

class QLabel;
class QTreeWidget;

namespace korvex {

// The right-hand panel while the folder lists are not part of the window:
// the shown folder's name, size and what the scan read, and the biggest
// files below it, which the walker fills while the scan runs.
class ScanSummaryPanel : public QWidget, public ContentPanel, public BiggestFilesDelegate {
    Q_OBJECT
  public:
    explicit ScanSummaryPanel(QWidget* parent = nullptr);

    // How many entries the scan read; negative while it runs.
    void setEntriesSource(std::function<std::int64_t()> source) {
        mEntriesSource = std::move(source);
    }

    void updateWith(const ItemRef& root, bool rescan) override;
    void animateSwitchToScannedState(const ItemRef& root) override;
    void refreshItemInfoWithTopLevelItem(const TopLevelRef& entry) override;
    void updateSummeryControllerResultInfo() override;
    void applyRootForLists(const ItemRef& root) override;

    bool isListOnScreen() const override { return isVisible(); }
    void showBiggestFiles(const ItemRef& root, const ItemList& files, bool keepPosition) override;

    QLabel* titleLabel() const { return mTitle; }
    QLabel* sizeLabel() const { return mSize; }
    QTreeWidget* biggestFilesList() const { return mBiggest; }

  protected:
    void changeEvent(QEvent* event) override;

  private:
    void showRoot(const ItemRef& root);
    void applyPalette();

    ItemRef mRoot;
    std::function<std::int64_t()> mEntriesSource;
    QLabel* mTitle;
    QLabel* mPath;
    QLabel* mSize;
    QLabel* mDetails;
    QLabel* mBiggestTitle;
    QTreeWidget* mBiggest;
};

}  // namespace korvex
