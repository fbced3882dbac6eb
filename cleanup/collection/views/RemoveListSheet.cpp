#include "cleanup/collection/views/RemoveListSheet.h"

#include "app/toolkit/NothingOpenedAlert.h"
#include "browse/preview/PreviewController.h"
#include "cleanup/collection/views/CollectionPanel.h"
#include "platform/desktop/FileManagerService.h"
#include "platform/desktop/PathListMime.h"
#include "scan/format/ItemNotes.h"
#include "scan/format/SizeFormatter.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace korvex {

namespace {

enum Column { nameColumn = 0, sizeColumn = 1, detailsColumn = 2 };
constexpr int kPathRole = Qt::UserRole + 1;

QString pathText(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

// Rows keep their path as the bytes on disk: a name that is not UTF-8 would
// not survive the way through a QString.
QByteArray pathBytes(const std::string& path) {
    return QByteArray::fromStdString(path);
}

QString sizeText(std::int64_t size) {
    return QString::fromStdString(sizeString(size));
}

// A round badge with a tick, in the accent colour: the sign of a clean result.
QPixmap successBadge(int side, qreal ratio, const QColor& colour) {
    QPixmap badge(QSize(side, side) * ratio);
    badge.setDevicePixelRatio(ratio);
    badge.fill(Qt::transparent);
    QPainter painter(&badge);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawEllipse(QRectF(1, 1, side - 2, side - 2));
    QPen tick(Qt::white, side * 0.09, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(tick);
    painter.setBrush(Qt::NoBrush);
    const QPointF points[] = {
        {side * 0.29, side * 0.52}, {side * 0.44, side * 0.66}, {side * 0.72, side * 0.37}};
    painter.drawPolyline(points, 3);
    return badge;
}

QIcon rowIcon(const OperationItem& item) {
    const ItemRef& node = item.systemItem();
    return QApplication::style()->standardIcon(node && node->isDirectory() ? QStyle::SP_DirIcon
                                                                           : QStyle::SP_FileIcon);
}

QString detailsOf(const OperationResult& result) {
    if (const OperationError* error = failureOf(result))
        return QString::fromStdString(error->description);
    if (const WarningMessage* warning = warningOf(result))
        return QString::fromStdString(
            warning->title.empty() ? warning->message : warning->title + ": " + warning->message);
    return {};
}

}  // namespace

RemoveListSheet::RemoveListSheet(std::shared_ptr<RemoveListPresenter> presenter, QWidget* window)
    : QDialog(window), mPresenter(std::move(presenter)) {
    setObjectName(QStringLiteral("removeListSheet"));
    setWindowModality(Qt::WindowModal);
    setAttribute(Qt::WA_DeleteOnClose);
    setMinimumSize(600, 440);
    setStyleSheet(QStringLiteral(
        "#removeListRows { border: 1px solid palette(mid); border-radius: 6px; }"
        "#removeListRows::item { padding: 3px 2px; }"
        "#removeListRows QHeaderView::section { padding: 4px 8px; border: none;"
        " border-bottom: 1px solid palette(mid); background: palette(button); }"
        "QPushButton { border: 1px solid palette(mid); border-radius: 6px; padding: 6px 16px;"
        " background: palette(button); }"
        "QPushButton:hover { background: palette(alternate-base); }"
        "QPushButton:pressed { background: palette(mid); }"
        "#removeListAction, #removeListClose { background: palette(highlight); border: none;"
        " font-weight: 600; }"
        // Disabled, the text takes the palette's disabled colour.
        "#removeListAction:enabled, #removeListClose:enabled { color: palette(highlighted-text); }"
        "#removeListAction:disabled { background: palette(mid); }"
        "QProgressBar { border: none; border-radius: 3px; background: palette(mid); }"
        "QProgressBar::chunk { border-radius: 3px; background: palette(highlight); }"));

    mColumn = new QVBoxLayout(this);
    mColumn->setContentsMargins(22, 20, 22, 18);
    mColumn->setSpacing(12);

    mRows = new QTreeWidget(this);
    mRows->setObjectName(QStringLiteral("removeListRows"));
    mRows->setColumnCount(3);
    mRows->setHeaderLabels({tr("Name"), tr("Size"), tr("Details")});
    mRows->headerItem()->setTextAlignment(sizeColumn, Qt::AlignRight | Qt::AlignVCenter);
    mRows->header()->setStretchLastSection(false);
    mRows->header()->setSectionResizeMode(nameColumn, QHeaderView::Stretch);
    mRows->header()->setSectionResizeMode(sizeColumn, QHeaderView::ResizeToContents);
    // Shown, the details share the width with the names.
    mRows->header()->setSectionResizeMode(detailsColumn, QHeaderView::Stretch);
    mRows->setColumnHidden(detailsColumn, true);
    mRows->setTextElideMode(Qt::ElideMiddle);
    mRows->setAlternatingRowColors(true);
    mRows->setUniformRowHeights(true);
    mRows->setIconSize(QSize(18, 18));
    mRows->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(mRows, &QTreeWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { showRowMenu(at); });
    connect(mRows, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* row, int col) {
        if (mFilling || col != nameColumn)
            return;
        const QByteArray path = row->data(nameColumn, kPathRole).toByteArray();
        for (const auto& item : mPresenter->manager().items())
            if (pathBytes(item->path()) == path)
                mPresenter->setItemSelected(*item, row->checkState(nameColumn) == Qt::Checked);
        // The row is still inside its own change: the rows stay, only the
        // counts and buttons follow the tick.
        showState();
    });

    mProgress = new QProgressBar(this);
    mProgress->setRange(0, 1000);
    mProgress->setTextVisible(false);
    mProgress->setFixedHeight(6);

    mResult = new QLabel(this);
    mResult->setObjectName(QStringLiteral("removeListResult"));
    mResult->setTextFormat(Qt::RichText);
    mResult->setWordWrap(true);

    mColumn->addWidget(makeHeading());
    mColumn->addWidget(mRows, 1);
    mColumn->addWidget(mProgress);
    mColumn->addWidget(mResult);
    mColumn->addLayout(makeButtons());
    // The rows would take the focus first and show it on a row nobody chose.
    mAction->setFocus();

    QPointer<RemoveListSheet> self(this);
    mPresenter->model().setOnChanged([self] {
        if (self)
            self->refresh();
    });
    refresh();
}

QWidget* RemoveListSheet::makeHeading() {
    mHeading = new QWidget(this);
    auto* rows = new QVBoxLayout(mHeading);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(4);
    mIcon = new QLabel(mHeading);
    mIcon->setAlignment(Qt::AlignCenter);
    mTitle = new QLabel(mHeading);
    mTitle->setObjectName(QStringLiteral("removeListTitle"));
    QFont titleFont = mTitle->font();
    titleFont.setWeight(QFont::DemiBold);
    mTitle->setFont(titleFont);
    mSubtitle = new QLabel(mHeading);
    mSubtitle->setObjectName(QStringLiteral("removeListSubtitle"));
    mSubtitle->setForegroundRole(QPalette::PlaceholderText);
    mSubtitle->setTextFormat(Qt::PlainText);
    mSubtitle->setWordWrap(true);
    // Above and below, so that the congratulations stand in the middle.
    rows->addStretch(1);
    rows->addWidget(mIcon);
    rows->addSpacing(6);
    rows->addWidget(mTitle);
    rows->addWidget(mSubtitle);
    rows->addStretch(1);
    return mHeading;
}

QLayout* RemoveListSheet::makeButtons() {
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(8);
    mDetails = new QPushButton(tr("Show details"), this);
    mDetails->setCheckable(true);
    mCancel = new QPushButton(tr("Cancel"), this);
    mRetry = new QPushButton(tr("Retry"), this);
    mClose = new QPushButton(tr("Close"), this);
    mClose->setObjectName(QStringLiteral("removeListClose"));
    mShowTrash = new QPushButton(tr("Show Trash"), this);
    mShowTrash->setObjectName(QStringLiteral("removeListShowTrash"));
    mAction = new QPushButton(this);
    mAction->setObjectName(QStringLiteral("removeListAction"));
    mAction->setDefault(true);
    buttons->addWidget(mDetails);
    buttons->addStretch(1);
    for (QPushButton* button : {mShowTrash, mCancel, mRetry, mClose, mAction})
        buttons->addWidget(button);

    connect(mAction, &QPushButton::clicked, this, [this] { mPresenter->startOperation(); });
    connect(mRetry, &QPushButton::clicked, this, [this] { mPresenter->startOperation(); });
    connect(mCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(mClose, &QPushButton::clicked, this, &QDialog::accept);
    connect(mShowTrash, &QPushButton::clicked, this, [this] {
        if (mTrashOpener)
            mTrashOpener();
    });
    connect(mDetails, &QPushButton::toggled, this, [this](bool on) {
        mRows->setColumnHidden(detailsColumn, !on);
        mDetails->setText(on ? tr("Hide details") : tr("Show details"));
    });
    return buttons;
}

RemoveListSheet::~RemoveListSheet() {
    mPresenter->model().setOnChanged({});
}

void RemoveListSheet::done(int result) {
    if (mPresenter->isRunning())
        return;
    QDialog::done(result);
    mPresenter->model().setOnChanged({});
    mPresenter->dismiss();
}

QTreeWidgetItem* RemoveListSheet::rowFor(const std::string& path) const {
    const QByteArray wanted = pathBytes(path);
    for (QTreeWidgetItemIterator it(mRows); *it; ++it)
        if ((*it)->data(nameColumn, kPathRole).toByteArray() == wanted)
            return *it;
    return nullptr;
}

void RemoveListSheet::refresh() {
    showState();
    fillRows();
}

void RemoveListSheet::showState() {
    RemoveListPresenter& presenter = *mPresenter;
    OperationsViewRepresentation& model = presenter.model();
    const bool congratulations = model.isCongratulations();
    mTitle->setText(
        QString::fromStdString(congratulations ? model.congratulationsTitle() : model.title()));
    if (congratulations) {
        mSubtitle->setText(QString::fromStdString(model.congratulationsText()));
    } else if (presenter.isReviewing()) {
        const RemoveListPresenter::Ticked ticked = presenter.tickedItems();
        mSubtitle->setText(
            tr("%1 of %2 ticked, %3")
                .arg(ticked.count)
                .arg(CollectionPanel::countText(static_cast<std::int64_t>(model.items().size())))
                .arg(sizeText(ticked.size)));
    } else {
        mSubtitle->clear();
    }
    mSubtitle->setVisible(!mSubtitle->text().isEmpty());
    showHeading(congratulations);
    mRows->setVisible(!congratulations);
    if (const auto* running = std::get_if<OperationInProgress>(&model.state()))
        mProgress->setValue(static_cast<int>(running->progress * 1000));
    mProgress->setVisible(presenter.isRunning());
    const std::string result = model.resultText();
    mResult->setText(QString::fromStdString(result));
    mResult->setVisible(!result.empty() && !congratulations);

    mAction->setText(QString::fromStdString(model.actionButtonTitle()));
    mAction->setVisible(presenter.isReviewing());
    mAction->setEnabled(presenter.hasSelectedItems());
    mCancel->setVisible(presenter.isReviewing());
    mRetry->setVisible(presenter.canRetry());
    mClose->setVisible(presenter.isCompleted());
    mClose->setDefault(presenter.isCompleted());
    mShowTrash->setVisible(model.offersTrash());
    mDetails->setVisible(presenter.hasDetails() && !congratulations);
}

void RemoveListSheet::showHeading(bool congratulations) {
    // The congratulations take the whole sheet, centred, where the rows were.
    mIcon->setVisible(congratulations);
    if (congratulations && mIcon->pixmap().isNull())
        mIcon->setPixmap(
            successBadge(72, devicePixelRatioF(), palette().color(QPalette::Highlight)));
    QFont titleFont = mTitle->font();
    titleFont.setPointSizeF(font().pointSizeF() * (congratulations ? 1.8 : 1.35));
    mTitle->setFont(titleFont);
    const Qt::Alignment alignment = congratulations ? Qt::AlignCenter : Qt::AlignLeft;
    mTitle->setAlignment(alignment);
    mSubtitle->setAlignment(alignment);
    mColumn->setStretchFactor(mHeading, congratulations ? 1 : 0);
}

void RemoveListSheet::fillRows() {
    mFilling = true;
    mRows->clear();
    OperationsViewRepresentation& model = mPresenter->model();
    const bool tickable = mPresenter->isReviewing() || mPresenter->canRetry();
    auto addRow = [&](QTreeWidgetItem* parent, const OperationItemRef& item) {
        auto* row = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(mRows);
        row->setText(nameColumn, pathText(item->name()));
        row->setIcon(nameColumn, rowIcon(*item));
        row->setToolTip(nameColumn, pathText(item->path()));
        row->setData(nameColumn, kPathRole, pathBytes(item->path()));
        row->setText(sizeColumn, sizeText(item->size()));
        row->setTextAlignment(sizeColumn, Qt::AlignRight | Qt::AlignVCenter);
        const OperationResult state = item->state();
        QString details = detailsOf(state);
        if (details.isEmpty() && item->systemItem() != nullptr) {
            details = QString::fromStdString(removalNote(*item->systemItem()).value_or(""));
        }
        // One line in the cell; the tooltip keeps the message's own lines.
        row->setText(detailsColumn, QString(details).replace(QLatin1Char('\n'), QLatin1Char(' ')));
        row->setToolTip(detailsColumn, details);
        if (tickable && !isSuccess(state)) {
            row->setFlags(row->flags() | Qt::ItemIsUserCheckable);
            row->setCheckState(nameColumn,
                               mPresenter->isItemSelected(*item) ? Qt::Checked : Qt::Unchecked);
        }
    };
    mRows->setRootIsDecorated(!model.groups().empty());
    if (model.groups().empty()) {
        for (const auto& item : model.items())
            addRow(nullptr, item);
    } else {
        for (const auto& group : model.groups()) {
            auto* heading = new QTreeWidgetItem(mRows);
            heading->setText(nameColumn, QString::fromStdString(group.name) +
                                             QStringLiteral(" (%1)").arg(group.items.size()));
            heading->setFirstColumnSpanned(true);
            QFont bold = heading->font(nameColumn);
            bold.setWeight(QFont::DemiBold);
            heading->setFont(nameColumn, bold);
            heading->setFlags(Qt::ItemIsEnabled);
            for (const auto& item : group.items)
                addRow(heading, item);
            heading->setExpanded(group.isExpanded);
        }
    }
    mFilling = false;
}

void RemoveListSheet::showRowMenu(const QPoint& at) {
    QTreeWidgetItem* row = mRows->itemAt(at);
    if (!row || row->data(nameColumn, kPathRole).isNull())
        return;
    const std::string path = row->data(nameColumn, kPathRole).toByteArray().toStdString();
    QMenu menu(this);
    const QPointer<RemoveListSheet> sheet(this);
    auto tellNothingOpened = [sheet, path] {
        if (sheet != nullptr) {
            showNothingOpenedAlert(sheet, {path});
        }
    };
    connect(menu.addAction(tr("Properties")), &QAction::triggered, this, [path, tellNothingOpened] {
        platform::FileManagerService::shared().showItemProperties({path}, tellNothingOpened);
    });
    connect(menu.addAction(tr("Preview")), &QAction::triggered, this, [this, path] {
        auto& preview = PreviewController::sharedPreviewController();
        preview.setMainWindow(parentWidget());
        preview.setPreviewItem(path);
        preview.showPreviewPanel();
    });
    connect(menu.addAction(tr("Show in File Manager")), &QAction::triggered, this,
            [path, tellNothingOpened] {
                platform::FileManagerService::shared().revealItems({path}, tellNothingOpened);
            });
    // The bytes on disk, as the diagram and the lists copy them.
    connect(menu.addAction(tr("Copy Path")), &QAction::triggered, this, [path] {
        QApplication::clipboard()->setMimeData(platform::mimeDataForPaths({path}).release());
    });
    menu.exec(mRows->viewport()->mapToGlobal(at));
}

}  // namespace korvex
