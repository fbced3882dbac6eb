#include "app/window/ScanSummaryPanel.h"

#include "diagram/volumes/SidebarPalette.h"
#include "platform/desktop/FileManagerService.h"
#include "scan/format/PathUtils.h"
#include "scan/format/SizeFormatter.h"
#include "scan/tree/FileSystemItem.h"

#include <QEvent>
#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace korvex {

namespace {

QString text(const std::string& value) {
    return QString::fromUtf8(value.data(), value.size());
}

QString sizeText(std::int64_t bytes) {
    return text(
        formatMemoryStringDot1(static_cast<std::uint64_t>(std::max<std::int64_t>(bytes, 0))));
}

constexpr int kPathRole = Qt::UserRole + 1;

}  // namespace

ScanSummaryPanel::ScanSummaryPanel(QWidget* parent)
    : QWidget(parent),
      mTitle(new QLabel(this)),
      mPath(new QLabel(this)),
      mSize(new QLabel(this)),
      mDetails(new QLabel(this)),
      mBiggestTitle(new QLabel(tr("Biggest files"), this)),
      mBiggest(new QTreeWidget(this)) {
    setObjectName(QStringLiteral("scanSummaryPanel"));
    setFocusPolicy(Qt::StrongFocus);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 16, 18, 12);
    layout->setSpacing(4);
    QFont title = mTitle->font();
    title.setPointSizeF(title.pointSizeF() * 1.35);
    title.setWeight(QFont::DemiBold);
    mTitle->setFont(title);
    mTitle->setTextFormat(Qt::PlainText);
    mPath->setTextFormat(Qt::PlainText);
    mPath->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont size = mSize->font();
    size.setPointSizeF(size.pointSizeF() * 2.2);
    size.setWeight(QFont::Light);
    mSize->setFont(size);
    QFont heading = mBiggestTitle->font();
    heading.setWeight(QFont::DemiBold);
    mBiggestTitle->setFont(heading);

    mBiggest->setColumnCount(2);
    mBiggest->setHeaderLabels({tr("Name"), tr("Size")});
    mBiggest->setRootIsDecorated(false);
    mBiggest->setUniformRowHeights(true);
    mBiggest->setAlternatingRowColors(true);
    mBiggest->setFrameShape(QFrame::NoFrame);
    mBiggest->setStyleSheet(QStringLiteral("QTreeView::item { padding: 3px 2px; }"));
    mBiggest->header()->setStretchLastSection(false);
    mBiggest->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    mBiggest->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    connect(mBiggest, &QTreeWidget::itemActivated, this, [](QTreeWidgetItem* item) {
        platform::FileManagerService::shared().revealItems(
            {item->data(0, kPathRole).toByteArray().toStdString()});
    });

    layout->addWidget(mTitle);
    layout->addWidget(mPath);
    layout->addSpacing(10);
    layout->addWidget(mSize);
    layout->addWidget(mDetails);
    layout->addSpacing(14);
    layout->addWidget(mBiggestTitle);
    layout->addWidget(mBiggest, 1);
    applyPalette();
}

void ScanSummaryPanel::updateWith(const ItemRef& root, bool) {
    showRoot(root);
}

void ScanSummaryPanel::animateSwitchToScannedState(const ItemRef& root) {
    showRoot(root);
}

void ScanSummaryPanel::refreshItemInfoWithTopLevelItem(const TopLevelRef& entry) {
    if (entry != nullptr && entry->scannedRoot() == nullptr) {
        mTitle->setText(text(entry->getDisplayName()));
        mPath->setText(text(pathWithReplasingHomeFolderUsingTilda(entry->getPath())));
    }
}

void ScanSummaryPanel::updateSummeryControllerResultInfo() {
    if (mRoot == nullptr) {
        return;
    }
    mSize->setText(sizeText(mRoot->gettotalsize()));
    const std::int64_t read = mEntriesSource ? mEntriesSource() : -1;
    mDetails->setText(read < 0 ? tr("Scanning…") : tr("%L1 items read").arg(read));
}

void ScanSummaryPanel::applyRootForLists(const ItemRef& root) {
    showRoot(root);
}

void ScanSummaryPanel::showRoot(const ItemRef& root) {
    mRoot = root;
    if (root == nullptr) {
        mTitle->clear();
        mPath->clear();
        mSize->clear();
        mDetails->clear();
        mBiggest->clear();
        return;
    }
    mTitle->setText(text(root->getDisplayName()));
    mPath->setText(text(pathWithReplasingHomeFolderUsingTilda(root->getFullPath())));
    mSize->setText(sizeText(root->gettotalsize()));
    updateSummeryControllerResultInfo();
}

void ScanSummaryPanel::showBiggestFiles(const ItemRef&, const ItemList& files, bool) {
    mBiggest->setUpdatesEnabled(false);
    mBiggest->clear();
    QList<QTreeWidgetItem*> rows;
    rows.reserve(static_cast<int>(files.size()));
    for (const ItemRef& file : files) {
        auto* row = new QTreeWidgetItem;
        row->setText(0, text(file->getDisplayName()));
        row->setText(1, sizeText(file->gettotalsize()));
        row->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
        const std::string path = file->getFullPath();
        row->setToolTip(0, text(pathWithReplasingHomeFolderUsingTilda(path)));
        row->setData(0, kPathRole, QByteArray::fromStdString(path));
        rows.push_back(row);
    }
    mBiggest->addTopLevelItems(rows);
    mBiggest->setUpdatesEnabled(true);
}

void ScanSummaryPanel::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) {
        applyPalette();
    }
}

void ScanSummaryPanel::applyPalette() {
    const SidebarPalette colours(palette());
    const QString muted = QStringLiteral("color: %1;").arg(colours.muted.name());
    mPath->setStyleSheet(muted);
    mDetails->setStyleSheet(muted);
}

}  // namespace korvex
