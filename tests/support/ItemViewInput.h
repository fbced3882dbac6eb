#pragma once

#include <QAbstractItemView>
#include <QApplication>
#include <QMouseEvent>

namespace korvex::test {

// A double click as the mouse makes it: press, release, double click,
// release. (QTest's own leaves item views without their double click.)
inline void doubleClickAt(QWidget* target, QPoint at) {
    const QPointF global = target->mapToGlobal(QPointF(at));
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                              QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, QPointF(at), global, Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(target, &event);
    }
}

// The row of `view` (any depth) whose name is `name`; invalid when none.
inline QModelIndex rowNamed(const QAbstractItemView* view, const QString& name,
                            const QModelIndex& parent = {}) {
    const QAbstractItemModel* model = view->model();
    for (int row = 0; row < model->rowCount(parent); ++row) {
        const QModelIndex index = model->index(row, 0, parent);
        if (index.data().toString() == name) {
            return index;
        }
        if (QModelIndex inner = rowNamed(view, name, index); inner.isValid()) {
            return inner;
        }
    }
    return {};
}

}  // namespace korvex::test
