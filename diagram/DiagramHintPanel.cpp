#include "diagram/DiagramHintPanel.h"

#include <QGridLayout>
#include <QLabel>

namespace korvex {

namespace {

QString fromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

DiagramHintPanel::DiagramHintPanel(QWidget* parent)
    : QFrame(parent, Qt::ToolTip | Qt::FramelessWindowHint),
      mTitle(new QLabel(this)),
      mCaption(new QLabel(this)),
      mSize(new QLabel(this)),
      mPath(new QLabel(this)),
      mNote(new QLabel(this)) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFrameShape(QFrame::StyledPanel);
    QFont bold = mTitle->font();
    bold.setBold(true);
    mTitle->setFont(bold);
    mSize->setFont(bold);
    mPath->setForegroundRole(QPalette::PlaceholderText);
    mPath->setTextFormat(Qt::PlainText);
    mTitle->setTextFormat(Qt::PlainText);
    mNote->setTextFormat(Qt::PlainText);
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(10, 8, 10, 8);
    layout->addWidget(mTitle, 0, 0, 1, 2);
    layout->addWidget(mCaption, 1, 0);
    layout->addWidget(mSize, 1, 1);
    layout->addWidget(mPath, 2, 0, 1, 2);
    layout->addWidget(mNote, 3, 0, 1, 2);
    layout->setColumnStretch(1, 1);
}

void DiagramHintPanel::showContent(const HintContent& content, QPoint globalPoint, int distance) {
    mTitle->setText(fromUtf8(content.title));
    mCaption->setText(fromUtf8(content.caption));
    mSize->setText(fromUtf8(content.sizeText));
    mPath->setText(fromUtf8(content.path));
    mPath->setVisible(!content.path.empty());
    mNote->setText(fromUtf8(content.note));
    mNote->setVisible(!content.note.empty());
    adjustSize();
    move(globalPoint + QPoint(distance, distance));
    show();
}

QString DiagramHintPanel::titleText() const {
    return mTitle->text();
}

QString DiagramHintPanel::sizeText() const {
    return mSize->text();
}

QString DiagramHintPanel::captionText() const {
    return mCaption->text();
}

QString DiagramHintPanel::pathText() const {
    return mPath->text();
}

QString DiagramHintPanel::noteText() const {
    return mNote->text();
}

}  // namespace korvex
