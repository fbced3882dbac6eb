#pragma once

#include "diagram/volumes/VolumeRowDelegate.h"
#include "diagram/volumes/VolumesListModel.h"

#include <QListView>
#include <QTimer>

namespace korvex {

// The target list of the left panel: shows the controller's rows, keeps the
// widget selection and the controller's in step, and routes double-clicks,
// row-button clicks and keys to the controller.
class VolumesListView : public QListView, public VolumesTableObserver {
    Q_OBJECT
  public:
    explicit VolumesListView(VolumesTableController& controller, QWidget* parent = nullptr);
    ~VolumesListView() override;

    VolumesListModel& listModel() { return mModel; }
    VolumeRowDelegate& rowDelegate() { return mDelegate; }
    bool isSpinning() const { return mSpinner.isActive(); }

    void rowsDidChange() override;
    void rowDidChange(int row) override;
    void selectionDidMove(int row) override;
    void scrollRowToVisible(int row) override;

  protected:
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    void selectionFromWidget();
    void updateSpinner();
    // Repaints the scan buttons whose arc turns.
    void updateSpinningButtons();

    VolumesTableController& mController;
    VolumesListModel mModel;
    VolumeRowDelegate mDelegate;
    QTimer mSpinner;
    bool mSyncing = false;
};

}  // namespace korvex
