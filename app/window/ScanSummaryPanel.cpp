#include "app/window/ScanSummaryPanel.h"

#include "browse/lists/ContentsPanel.h"
#include "browse/lists/ItemTexts.h"
#include "diagram/volumes/SidebarPalette.h"
#include "scan/format/PathUtils.h"
#include "scan/format/SizeFormatter.h"
#include "scan/tree/FileSystemItem.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace korvex {

namespace {

QString totalText(std::int64_t bytes) {
    return qtText(sizeString(bytes));
}

constexpr int kReloadIntervalMs = 400;

}  // namespace

ScanSummaryPanel::ScanSummaryPanel(QWidget* parent)
    : QWidget(parent),
      mSourceNote(new QLabel(this)),
      mTitle(new QLabel(this)),
      mPath(new QLabel(this)),
      mSize(new QLabel(this)),
      mDetails(new QLabel(this)),
      mContents(new ContentsPanel(this)) {
    setObjectName(QStringLiteral("scanSummaryPanel"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* header = new QWidget(this);
    auto* headerLayout = new QVBoxLayout(header);
    headerLayout->setContentsMargins(18, 16, 18, 10);
    headerLayout->setSpacing(3);
    QFont title = mTitle->font();
    title.setPointSizeF(title.pointSizeF() * 1.35);
    title.setWeight(QFont::DemiBold);
    mTitle->setFont(title);
    mTitle->setTextFormat(Qt::PlainText);
    mPath->setTextFormat(Qt::PlainText);
    mPath->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont size = mSize->font();
    size.setPointSizeF(size.pointSizeF() * 2.0);
    size.setWeight(QFont::Light);
    mSize->setFont(size);
    mSourceNote->setObjectName(QStringLiteral("sourceNote"));
    mSourceNote->setTextFormat(Qt::PlainText);
    mSourceNote->setWordWrap(true);
    mSourceNote->hide();
    headerLayout->addWidget(mSourceNote);
    headerLayout->addWidget(mTitle);
    headerLayout->addWidget(mPath);
    headerLayout->addSpacing(6);
    headerLayout->addWidget(mSize);
    headerLayout->addWidget(mDetails);
    layout->addWidget(header);
    layout->addWidget(mContents, 1);
    setFocusProxy(mContents);

    mReloadTimer.setSingleShot(true);
    mReloadTimer.setInterval(kReloadIntervalMs);
    connect(&mReloadTimer, &QTimer::timeout, this, [this] { mContents->reload(); });
    applyPalette();
}

// The lists are filled when the window hands over the diagram root, which
// always follows; filling them here too would build every row twice.
void ScanSummaryPanel::updateWith(const ItemRef& root, bool) {
    mScannedRoot = root;
    showRoot(root);
}

void ScanSummaryPanel::animateSwitchToScannedState(const ItemRef& root) {
    updateWith(root, false);
}

void ScanSummaryPanel::refreshItemInfoWithTopLevelItem(const TopLevelRef& entry) {
    if (entry != nullptr && entry->scannedRoot() == nullptr) {
        mTitle->setText(qtText(entry->getDisplayName()));
        mPath->setText(qtText(pathWithReplasingHomeFolderUsingTilda(entry->getPath())));
    }
}

void ScanSummaryPanel::setSourceNote(const QString& note) {
    mSourceNote->setText(note);
    mSourceNote->setVisible(!note.isEmpty());
}

void ScanSummaryPanel::updateSummeryControllerResultInfo() {
    if (mRoot == nullptr) {
        return;
    }
    mSize->setText(totalText(mRoot->gettotalsize()));
    const std::int64_t read = mEntriesSource ? mEntriesSource() : -1;
    if (read == kEntriesScanning) {
        mDetails->setText(tr("Scanning…"));
    } else if (read < 0) {
        mDetails->clear();
    } else {
        mDetails->setText(read == 1 ? tr("1 item read") : tr("%L1 items read").arg(read));
    }
    if (read == kEntriesScanning && !mReloadTimer.isActive()) {
        mReloadTimer.start();
    }
}

void ScanSummaryPanel::applyRootForLists(const ItemRef& root) {
    if (root == nullptr) {
        showRoot(nullptr);
        return;
    }
    mContents->setDisplayedFolder(mScannedRoot != nullptr ? mScannedRoot : root, root);
    showRoot(root);
}

void ScanSummaryPanel::setScanning(bool scanning) {
    mContents->setScanning(scanning);
    // A search reads the tree away from the main thread: not while it grows.
    mContents->searchField().setEnabled(!scanning);
    if (!scanning) {
        mReloadTimer.stop();
        mContents->reload();
    }
}

void ScanSummaryPanel::showRoot(const ItemRef& root) {
    mRoot = root;
    if (root == nullptr) {
        mTitle->clear();
        mPath->clear();
        mSize->clear();
        mDetails->clear();
        return;
    }
    mTitle->setText(qtText(root->getDisplayName()));
    mPath->setText(qtText(pathWithReplasingHomeFolderUsingTilda(root->getFullPath())));
    updateSummeryControllerResultInfo();
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
    // The note stands out: what is shown is not the disk as it is now.
    mSourceNote->setStyleSheet(QStringLiteral("color: %1; font-weight: 600;")
                                   .arg(palette().color(QPalette::Highlight).name()));
    mDetails->setStyleSheet(muted);
}

}  // namespace korvex
