#pragma once

#include "cleanup/collection/CollectionViewState.h"

#include <QFrame>
#include <QTimer>

class QLabel;
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

    QLabel* summaryLabel() const { return mSummary; }
    QLabel* dropArea() const { return mDropArea; }
    QLabel* statusLabel() const { return mStatus; }
    QPushButton* mainButton() const { return mButton; }
    QToolButton* chooserButton() const { return mChooser; }
    bool isHighlighted() const { return mHighlighted; }
    // Adds the paths a drag carries; false when nothing was taken.
    bool acceptDroppedData(const QMimeData& payload);
    static bool offersPaths(const QMimeData& data);

  protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void setHighlighted(bool on);
    void endDragging(bool refused);
    void rebuildChooserMenu();
    void flash();

    DoCollectionController* mController = nullptr;
    CollectionViewState mState;
    QLabel* mSummary;
    QLabel* mDropArea;
    QLabel* mStatus;
    QPushButton* mButton;
    QToolButton* mChooser;
    QMenu* mChooserMenu;
    QTimer mFlashTimer;
    bool mFlashOn = true;
    bool mHighlighted = false;
};

}  // namespace korvex
