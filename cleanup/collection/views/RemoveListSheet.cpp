#include "cleanup/collection/views/RemoveListSheet.h"

#include "browse/preview/QuickLookController.h"
#include "platform/desktop/FileManagerService.h"
#include "scan/format/SizeFormatter.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace korvex {

namespace {

enum Column { nameColumn = 0, sizeColumn = 1, detailsColumn = 2 };
constexpr int kPathRole = Qt::UserRole + 1;

QString pathText(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

// The model marks emphasis with <b>; everything else is shown as written.
QString emphasised(const std::string& text) {
    QString html = QString::fromStdString(text).toHtmlEscaped();
    html.replace(QStringLiteral("&lt;b&gt;"), QStringLiteral("<b>"));
    html.replace(QStringLiteral("&lt;/b&gt;"), QStringLiteral("</b>"));
    return html;
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
    setMinimumSize(560, 420);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(20, 18, 20, 16);
    column->setSpacing(10);

    mTitle = new QLabel(this);
    mTitle->setObjectName(QStringLiteral("removeListTitle"));
    QFont titleFont = mTitle->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.3);
    titleFont.setWeight(QFont::DemiBold);
    mTitle->setFont(titleFont);

    mCongratulations = new QLabel(this);
    mCongratulations->setObjectName(QStringLiteral("removeListCongratulations"));
    mCongratulations->setAlignment(Qt::AlignCenter);
    mCongratulations->setTextFormat(Qt::RichText);

    mRows = new QTreeWidget(this);
    mRows->setObjectName(QStringLiteral("removeListRows"));
    mRows->setColumnCount(3);
    mRows->setHeaderLabels({tr("Name"), tr("Size"), tr("Details")});
    mRows->header()->setStretchLastSection(false);
    mRows->header()->setSectionResizeMode(nameColumn, QHeaderView::Stretch);
    mRows->header()->setSectionResizeMode(sizeColumn, QHeaderView::ResizeToContents);
    mRows->header()->setSectionResizeMode(detailsColumn, QHeaderView::Interactive);
    mRows->setColumnHidden(detailsColumn, true);
    mRows->setAlternatingRowColors(true);
    mRows->setUniformRowHeights(true);
    mRows->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(mRows, &QTreeWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { showRowMenu(at); });
    connect(mRows, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* row, int col) {
        if (mFilling || col != nameColumn)
            return;
        const std::string path = row->data(nameColumn, kPathRole).toString().toStdString();
        for (const auto& item : mPresenter->manager().items())
            if (pathText(item->path()).toStdString() == path)
                mPresenter->setItemSelected(*item, row->checkState(nameColumn) == Qt::Checked);
        refresh();
    });

    mProgress = new QProgressBar(this);
    mProgress->setRange(0, 1000);
    mProgress->setTextVisible(false);
    mProgress->setMaximumHeight(8);

    mResult = new QLabel(this);
    mResult->setObjectName(QStringLiteral("removeListResult"));
    mResult->setTextFormat(Qt::RichText);
    mResult->setWordWrap(true);

    auto* buttons = new QHBoxLayout;
    mDetails = new QPushButton(tr("Show details"), this);
    mDetails->setCheckable(true);
    mCancel = new QPushButton(tr("Cancel"), this);
    mRetry = new QPushButton(tr("Retry"), this);
    mClose = new QPushButton(tr("Close"), this);
    mAction = new QPushButton(this);
    mAction->setDefault(true);
    buttons->addWidget(mDetails);
    buttons->addStretch(1);
    for (QPushButton* button : {mCancel, mRetry, mClose, mAction})
        buttons->addWidget(button);

    column->addWidget(mTitle);
    column->addWidget(mCongratulations, 1);
    column->addWidget(mRows, 1);
    column->addWidget(mProgress);
    column->addWidget(mResult);
    column->addLayout(buttons);

    connect(mAction, &QPushButton::clicked, this, [this] { mPresenter->startOperation(); });
    connect(mRetry, &QPushButton::clicked, this, [this] { mPresenter->startOperation(); });
    connect(mCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(mClose, &QPushButton::clicked, this, &QDialog::accept);
    connect(mDetails, &QPushButton::toggled, this, [this](bool on) {
        mShowDetails = on;
        mRows->setColumnHidden(detailsColumn, !on);
        mDetails->setText(on ? tr("Hide details") : tr("Show details"));
    });

    QPointer<RemoveListSheet> self(this);
    mPresenter->model().setOnChanged([self] {
        if (self)
            self->refresh();
    });
    refresh();
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
    const QString wanted = pathText(path);
    for (QTreeWidgetItemIterator it(mRows); *it; ++it)
        if ((*it)->data(nameColumn, kPathRole).toString() == wanted)
            return *it;
    return nullptr;
}

void RemoveListSheet::refresh() {
    RemoveListPresenter& presenter = *mPresenter;
    OperationsViewRepresentation& model = presenter.model();
    const bool congratulations = model.isCongratulations();
    mTitle->setText(congratulations ? tr("Congratulations!")
                                    : QString::fromStdString(model.title()));
    mCongratulations->setVisible(congratulations);
    mCongratulations->setText(QString::fromStdString(model.congratulationsText()).toHtmlEscaped());
    mRows->setVisible(!congratulations);
    if (const auto* running = std::get_if<OperationInProgress>(&model.state()))
        mProgress->setValue(static_cast<int>(running->progress * 1000));
    mProgress->setVisible(presenter.isRunning());
    const std::string result = model.resultText();
    mResult->setText(emphasised(result));
    mResult->setVisible(!result.empty() && !congratulations);

    mAction->setText(QString::fromStdString(model.actionButtonTitle()));
    mAction->setVisible(presenter.isReviewing());
    mAction->setEnabled(presenter.hasSelectedItems());
    mCancel->setVisible(presenter.isReviewing());
    mRetry->setVisible(presenter.canRetry());
    mClose->setVisible(presenter.isCompleted());
    mClose->setDefault(presenter.isCompleted());
    mDetails->setVisible(presenter.hasDetails() && !congratulations);
    fillRows();
}

void RemoveListSheet::fillRows() {
    mFilling = true;
    mRows->clear();
    OperationsViewRepresentation& model = mPresenter->model();
    const bool tickable = mPresenter->isReviewing() || mPresenter->canRetry();
    auto addRow = [&](QTreeWidgetItem* parent, const OperationItemRef& item) {
        auto* row = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(mRows);
        row->setText(nameColumn, pathText(item->name()));
        row->setToolTip(nameColumn, pathText(item->path()));
        row->setData(nameColumn, kPathRole, pathText(item->path()));
        row->setText(sizeColumn, QString::fromStdString(stringFromSize(static_cast<std::uint64_t>(
                                     std::max<std::int64_t>(item->size(), 0)))));
        row->setTextAlignment(sizeColumn, Qt::AlignRight | Qt::AlignVCenter);
        const OperationResult state = item->state();
        row->setText(detailsColumn, detailsOf(state));
        row->setToolTip(detailsColumn, detailsOf(state));
        if (tickable && !isSuccess(state)) {
            row->setFlags(row->flags() | Qt::ItemIsUserCheckable);
            row->setCheckState(nameColumn,
                               mPresenter->isItemSelected(*item) ? Qt::Checked : Qt::Unchecked);
        }
    };
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
    const std::string path =
        QFile::encodeName(row->data(nameColumn, kPathRole).toString()).toStdString();
    QMenu menu(this);
    connect(menu.addAction(tr("Get Info")), &QAction::triggered, this,
            [path] { platform::FileManagerService::shared().showItemProperties({path}); });
    connect(menu.addAction(tr("Quick Look")), &QAction::triggered, this, [this, path] {
        auto& preview = QuickLookController::sharedQuickLookController();
        preview.setMainWindow(parentWidget());
        preview.setPreviewItem(path);
        preview.showPreviewPanel();
    });
    connect(menu.addAction(tr("Show in File Manager")), &QAction::triggered, this,
            [path] { platform::FileManagerService::shared().revealItems({path}); });
    connect(menu.addAction(tr("Copy Path")), &QAction::triggered, this, [path] {
        QApplication::clipboard()->setText(QFile::decodeName(QByteArray::fromStdString(path)));
    });
    menu.exec(mRows->viewport()->mapToGlobal(at));
}

}  // namespace korvex
