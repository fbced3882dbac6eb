#pragma once

#include "diagram/volumes/VolumesTableController.h"

#include <QPoint>
#include <QStyledItemDelegate>

namespace korvex {

// Paints the rows of the volumes list: group titles, and entries with their
// icon, name, second line, capacity bar and scan button.
class VolumeRowDelegate : public QStyledItemDelegate {
    Q_OBJECT
  public:
    explicit VolumeRowDelegate(const VolumesTableController& controller, QObject* parent = nullptr);

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

    // Where the scan button of an entry row sits.
    static QRect scanButtonRect(const QRect& rowRect);
    // The button's tooltip when `pos` is over it, else empty.
    QString tooltipAt(const QModelIndex& index, const QRect& rowRect, const QPoint& pos) const;

    // The pointer position in the viewport (outside when the pointer left).
    void setPointer(const QPoint& pos) { mPointer = pos; }
    void advanceSpinner() { mSpinnerPhase = (mSpinnerPhase + 1) % 12; }

  private:
    void paintHeader(QPainter* painter, const QStyleOptionViewItem& option,
                     const VolumeItemGrop& group) const;
    void paintEntry(QPainter* painter, const QStyleOptionViewItem& option,
                    const TopLevelItem& entry) const;
    void paintScanControl(QPainter* painter, const QRect& rect, const TopLevelItem& entry,
                          bool rowHovered, const QColor& ink, const QColor& accent) const;

    const VolumesTableController& mController;
    QPoint mPointer{-1, -1};
    int mSpinnerPhase = 0;
};

}  // namespace korvex
