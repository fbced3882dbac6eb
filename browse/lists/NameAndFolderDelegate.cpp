#include "browse/lists/NameAndFolderDelegate.h"

#include <QApplication>
#include <QPainter>

#include <algorithm>

namespace korvex {

namespace {

QFont folderFont(const QFont& base) {
    QFont font = base;
    font.setPointSizeF(base.pointSizeF() * 0.86);
    return font;
}

}  // namespace

void NameAndFolderDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                  const QModelIndex& index) const {
    const QString folder = index.data(kFolderRole).toString();
    if (folder.isEmpty()) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    QStyleOptionViewItem row = option;
    initStyleOption(&row, index);
    const QString name = row.text;
    // The style draws the background, the check box and the icon; the two
    // lines go where its text would.
    row.text.clear();
    const QWidget* widget = row.widget;
    QStyle* style = widget != nullptr ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &row, painter, widget);
    row.text = name;
    const QRect text = style->subElementRect(QStyle::SE_ItemViewItemText, &row, widget);

    const bool selected = (row.state & QStyle::State_Selected) != 0;
    const QPalette::ColorGroup group =
        (row.state & QStyle::State_Active) != 0 ? QPalette::Active : QPalette::Inactive;
    const QFont small = folderFont(row.font);
    const QFontMetrics nameMetrics(row.font);
    const QFontMetrics folderMetrics(small);
    const int top =
        text.top() + (text.height() - nameMetrics.height() - folderMetrics.height()) / 2;
    painter->save();
    painter->setFont(row.font);
    painter->setPen(
        row.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
    painter->drawText(QRect(text.left(), top, text.width(), nameMetrics.height()),
                      Qt::AlignLeft | Qt::AlignVCenter,
                      nameMetrics.elidedText(name, Qt::ElideMiddle, text.width()));
    painter->setFont(small);
    painter->setPen(
        row.palette.color(group, selected ? QPalette::HighlightedText : QPalette::PlaceholderText));
    painter->drawText(
        QRect(text.left(), top + nameMetrics.height(), text.width(), folderMetrics.height()),
        Qt::AlignLeft | Qt::AlignVCenter,
        folderMetrics.elidedText(folder, Qt::ElideMiddle, text.width()));
    painter->restore();
}

QSize NameAndFolderDelegate::sizeHint(const QStyleOptionViewItem& option,
                                      const QModelIndex& index) const {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    if (!index.data(kFolderRole).toString().isEmpty()) {
        const int lines =
            QFontMetrics(option.font).height() + QFontMetrics(folderFont(option.font)).height();
        size.setHeight(std::max(size.height(), lines + 6));
    }
    return size;
}

}  // namespace korvex
