#pragma once

#include "cleanup/collection/CollectionViewState.h"

#include <QFrame>
#include <QTimer>

class QLabel;
class QLayout;
class QPushButton;
class QToolButton;
class QMenu;
class QMimeData;

namespace korvex {

class DoCollectionController;

// The collection's area in the window: its count and size, the drop area
// that takes paths dragged from the diagram and the lists, the main button
// with the chooser of its action, and the flashing status line.
class CollectionPanel : public QFrame {
    Q_OBJECT
  public:
    // How long the drop area stays open after a refused drop on an empty list.
    static constexpr int kCollapseDelayMs = 100;

    explicit CollectionPanel(QWidget* parent = nullptr);

    void setController(DoCollectionController* controller) { mController = controller; }
    void showState(const CollectionViewState& state);

    // The count ("3 items"); the size has a label of its own.
    QLabel* summaryLabel() const { return mSummary; }
    QLabel* sizeLabel() const { return mSize; }
    QWidget* dropArea() const { return mDropArea; }
    // Shown instead of the summary while the list is empty after a scan.
    QLabel* emptyHint() const { return mEmptyHint; }
    QLabel* statusLabel() const { return mStatus; }
    QPushButton* mainButton() const { return mButton; }
    QToolButton* chooserButton() const { return mChooser; }
    bool isHighlighted() const { return mHighlighted; }
    // Adds the paths a drag carries; false when nothing was taken.
    bool acceptDroppedData(const QMimeData& payload);
    static bool offersPaths(const QMimeData& data);
    // "1 item", "3 items".
    static QString countText(std::int64_t count);

  protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void setHighlighted(bool on);
    void endDragging(bool refused);
    void rebuildChooserMenu();
    void flash();
    QWidget* makeSummary();
    QWidget* makeDropArea();
    QLayout* makeButtons();

    DoCollectionController* mController = nullptr;
    CollectionViewState mState;
    QWidget* mSummaryRow;
    QLabel* mSummary;
    QLabel* mSize;
    QLabel* mEmptyHint;
    QWidget* mDropArea;
    QLabel* mDropText;
    QLabel* mStatus;
    QPushButton* mButton;
    QToolButton* mChooser;
    QMenu* mChooserMenu;
    QTimer mFlashTimer;
    bool mFlashOn = true;
    bool mHighlighted = false;
};

}  // namespace korvex
