#include "cleanup/collection/views/CollectionPanel.h"

#include "cleanup/collection/DoCollectionController.h"
#include "platform/desktop/PathListMime.h"
#include "scan/format/SizeFormatter.h"

#include <QActionGroup>
#include <QDragEnterEvent>
#include <QFile>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

namespace korvex {

namespace {

constexpr int kFlashIntervalMs = 550;

// Paths from the private payload, else one per line of plain text.
std::vector<std::string> pathsIn(const QMimeData& data) {
    if (data.hasFormat(platform::kKorvexDataMime)) {
        auto decoded = platform::decodePathList(data.data(platform::kKorvexDataMime));
        return decoded ? *decoded : std::vector<std::string>{};
    }
    std::vector<std::string> paths;
    for (const QString& line : data.text().split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QString trimmed = line.trimmed();
        if (trimmed.startsWith(QLatin1Char('/')))
            paths.push_back(QFile::encodeName(trimmed).toStdString());
        else if (const QUrl url(trimmed); url.isLocalFile())
            paths.push_back(QFile::encodeName(url.toLocalFile()).toStdString());
    }
    return paths;
}

}  // namespace

CollectionPanel::CollectionPanel(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("collectionPanel"));
    setAcceptDrops(true);
    // Palette references keep both appearances right without restyling; the
    // dimmed labels take the placeholder colour as their foreground role.
    setStyleSheet(QStringLiteral(
        "#collectionPanel { border-top: 1px solid palette(mid); }"
        "#collectionDropArea { border: 2px dashed palette(mid); border-radius: 10px;"
        " background: palette(base); }"
        "#collectionDropArea[highlighted=\"true\"] { border-color: palette(highlight);"
        " background: palette(alternate-base); }"
        "#collectionMainButton { background: palette(highlight);"
        " border: none; border-top-left-radius: 6px; border-bottom-left-radius: 6px;"
        " padding: 8px 16px; font-weight: 600; }"
        "#collectionMainButton[alone=\"true\"] { border-radius: 6px; }"
        "#collectionMainButton:pressed, #collectionChooser:pressed { background: palette(dark); }"
        // Disabled, the text takes the palette's disabled colour.
        "#collectionMainButton:enabled, #collectionChooser:enabled {"
        " color: palette(highlighted-text); }"
        "#collectionMainButton:disabled, #collectionChooser:disabled { background: palette(mid); }"
        "#collectionChooser { background: palette(highlight);"
        " border: none; border-left: 1px solid palette(window); border-top-right-radius: 6px;"
        " border-bottom-right-radius: 6px; padding: 0 8px; }"
        "#collectionChooser::menu-indicator { image: none; }"));

    auto* column = new QVBoxLayout(this);
    // The sides line up with the lists above.
    column->setContentsMargins(9, 12, 9, 14);
    column->setSpacing(10);

    mEmptyHint = new QLabel(tr("Tick items in the lists, or drag them here, to add them to "
                               "the Selected list"),
                            this);
    mEmptyHint->setObjectName(QStringLiteral("collectionEmptyHint"));
    mEmptyHint->setForegroundRole(QPalette::PlaceholderText);
    mEmptyHint->setAlignment(Qt::AlignCenter);
    mEmptyHint->setWordWrap(true);

    mStatus = new QLabel(this);
    mStatus->setObjectName(QStringLiteral("collectionStatus"));
    mStatus->setAlignment(Qt::AlignCenter);
    mStatus->setWordWrap(true);

    column->addWidget(makeSummary());
    column->addWidget(mEmptyHint);
    column->addWidget(makeDropArea());
    column->addLayout(makeButtons());
    column->addWidget(mStatus);

    mFlashTimer.setInterval(kFlashIntervalMs);
    connect(&mFlashTimer, &QTimer::timeout, this, [this] { flash(); });
    showState(mState);
}

QWidget* CollectionPanel::makeSummary() {
    mSummaryRow = new QWidget(this);
    auto* rows = new QVBoxLayout(mSummaryRow);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(2);
    auto* caption = new QLabel(tr("Selected list"), mSummaryRow);
    caption->setObjectName(QStringLiteral("collectionCaption"));
    caption->setForegroundRole(QPalette::PlaceholderText);
    QFont captionFont = caption->font();
    captionFont.setPointSizeF(captionFont.pointSizeF() * 0.82);
    captionFont.setWeight(QFont::DemiBold);
    captionFont.setCapitalization(QFont::AllUppercase);
    captionFont.setLetterSpacing(QFont::AbsoluteSpacing, 0.4);
    caption->setFont(captionFont);

    auto* figures = new QHBoxLayout;
    figures->setSpacing(8);
    mSummary = new QLabel(mSummaryRow);
    mSummary->setObjectName(QStringLiteral("collectionSummary"));
    mSize = new QLabel(mSummaryRow);
    mSize->setObjectName(QStringLiteral("collectionSize"));
    mSize->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QFont sizeFont = mSize->font();
    sizeFont.setPointSizeF(sizeFont.pointSizeF() * 1.25);
    sizeFont.setWeight(QFont::DemiBold);
    mSize->setFont(sizeFont);
    figures->addWidget(mSummary, 1, Qt::AlignBottom);
    figures->addWidget(mSize, 0, Qt::AlignBottom);

    rows->addWidget(caption);
    rows->addLayout(figures);
    return mSummaryRow;
}

QWidget* CollectionPanel::makeDropArea() {
    mDropArea = new QFrame(this);
    mDropArea->setObjectName(QStringLiteral("collectionDropArea"));
    auto* rows = new QVBoxLayout(mDropArea);
    rows->setContentsMargins(16, 14, 16, 14);
    rows->setSpacing(6);
    auto* icon = new QLabel(mDropArea);
    icon->setPixmap(
        QIcon::fromTheme(QStringLiteral("list-add"), style()->standardIcon(QStyle::SP_ArrowDown))
            .pixmap(28, 28));
    icon->setAlignment(Qt::AlignCenter);
    mDropText =
        new QLabel(tr("Drop files and folders here to add them to the Selected list"), mDropArea);
    mDropText->setObjectName(QStringLiteral("collectionDropText"));
    mDropText->setForegroundRole(QPalette::PlaceholderText);
    mDropText->setAlignment(Qt::AlignCenter);
    mDropText->setWordWrap(true);
    rows->addWidget(icon);
    rows->addWidget(mDropText);
    return mDropArea;
}

QLayout* CollectionPanel::makeButtons() {
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(0);
    mButton = new QPushButton(this);
    mButton->setObjectName(QStringLiteral("collectionMainButton"));
    mButton->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    mChooser = new QToolButton(this);
    mChooser->setObjectName(QStringLiteral("collectionChooser"));
    mChooser->setArrowType(Qt::DownArrow);
    mChooser->setPopupMode(QToolButton::InstantPopup);
    // As tall as the button beside it, whatever the font.
    mChooser->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    mChooser->setToolTip(tr("Choose what the button does with the Selected list"));
    mChooserMenu = new QMenu(mChooser);
    mChooser->setMenu(mChooserMenu);
    connect(mChooserMenu, &QMenu::aboutToShow, this, [this] { rebuildChooserMenu(); });
    connect(mButton, &QPushButton::clicked, this, [this] {
        if (mController)
            mController->onMainActionButtonPressed();
    });
    buttons->addWidget(mButton, 1);
    buttons->addWidget(mChooser);
    return buttons;
}

QString CollectionPanel::countText(std::int64_t count) {
    return count == 1 ? tr("1 item") : tr("%1 items").arg(QLocale().toString(count));
}

void CollectionPanel::showState(const CollectionViewState& state) {
    mState = state;
    mSummary->setText(countText(state.count));
    mSize->setText(QString::fromStdString(sizeString(state.size)));
    mSummaryRow->setVisible(state.summaryVisible);
    mDropArea->setVisible(state.dropAreaVisible);
    mEmptyHint->setVisible(state.count == 0 && !state.dropAreaVisible && state.chooserVisible);
    mButton->setText(QString::fromStdString(state.buttonTitle));
    mButton->setEnabled(state.buttonEnabled);
    mButton->setAccessibleDescription(QString::fromStdString(state.buttonAccessibilityValue()));
    mButton->setProperty("accessibilityValue",
                         QString::fromStdString(state.buttonAccessibilityValue()));
    // Without the chooser the button keeps its right corners round.
    if (mButton->property("alone").toBool() != !state.chooserVisible) {
        mButton->setProperty("alone", !state.chooserVisible);
        mButton->style()->unpolish(mButton);
        mButton->style()->polish(mButton);
    }
    mChooser->setVisible(state.chooserVisible);
    mChooser->setEnabled(state.chooserEnabled);
    // Starting and stopping a scan is the window's own button: this one
    // only reviews the Selected list of a scanned tree.
    const bool reviews = state.buttonScanState == 2;
    mButton->setVisible(reviews);

    const QString status = QString::fromStdString(statusTextFor(state.operationState));
    mStatus->setText(status.isEmpty() ? QString::fromStdString(state.lastResult) : status);
    mStatus->setVisible(!mStatus->text().isEmpty());
    // With nothing to show the panel leaves its room to the lists.
    if (!isWindow()) {
        setVisible(reviews || state.summaryVisible || state.dropAreaVisible ||
                   !mStatus->text().isEmpty());
    }
    if (status.isEmpty()) {
        mFlashTimer.stop();
    } else if (!mFlashTimer.isActive()) {
        mFlashOn = true;
        mFlashTimer.start();
    }
    flash();
}

void CollectionPanel::flash() {
    if (mFlashTimer.isActive())
        mFlashOn = !mFlashOn;
    QPalette palette = mStatus->palette();
    QColor color = this->palette().color(QPalette::Highlight);
    color.setAlphaF(mFlashOn || !mFlashTimer.isActive() ? 1.0F : 0.35F);
    palette.setColor(QPalette::WindowText, color);
    mStatus->setPalette(palette);
}

void CollectionPanel::rebuildChooserMenu() {
    mChooserMenu->clear();
    if (!mController)
        return;
    auto& chooser = mController->actionTypeMenuController();
    auto* group = new QActionGroup(mChooserMenu);
    for (const auto& [action, title] : ActionTypeMenuController::menuItems()) {
        QAction* item = mChooserMenu->addAction(QString::fromStdString(title));
        item->setCheckable(true);
        item->setChecked(action == chooser.action());
        group->addAction(item);
        connect(item, &QAction::triggered, this, [this, choice = action] {
            if (mController)
                mController->actionTypeMenuController().chooseAction(choice);
        });
    }
}

bool CollectionPanel::offersPaths(const QMimeData& data) {
    return data.hasFormat(platform::kKorvexDataMime) || data.hasText();
}

bool CollectionPanel::acceptDroppedData(const QMimeData& payload) {
    const auto paths = pathsIn(payload);
    return mController && !paths.empty() && mController->addItemsByFilePaths(paths);
}

void CollectionPanel::setHighlighted(bool on) {
    mHighlighted = on;
    mDropArea->setProperty("highlighted", on);
    mDropText->setForegroundRole(on ? QPalette::WindowText : QPalette::PlaceholderText);
    mDropArea->style()->unpolish(mDropArea);
    mDropArea->style()->polish(mDropArea);
}

void CollectionPanel::dragEnterEvent(QDragEnterEvent* event) {
    if (!mController || mController->isProcessingFiles() || !offersPaths(*event->mimeData())) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    setHighlighted(true);
    mController->setIsDragging(true);
}

void CollectionPanel::dragLeaveEvent(QDragLeaveEvent* event) {
    event->accept();
    endDragging(false);
}

void CollectionPanel::dropEvent(QDropEvent* event) {
    const bool accepted = acceptDroppedData(*event->mimeData());
    if (accepted)
        event->acceptProposedAction();
    else
        event->ignore();
    endDragging(!accepted);
}

void CollectionPanel::endDragging(bool refused) {
    setHighlighted(false);
    if (!mController)
        return;
    // A refused drop on an empty list leaves the area open a moment, so the
    // refusal is seen rather than the area simply vanishing under the pointer.
    if (refused && mController->mainStorage().count() == 0) {
        QTimer::singleShot(kCollapseDelayMs, this, [this] {
            if (mController && !mHighlighted)
                mController->setIsDragging(false);
        });
        return;
    }
    mController->setIsDragging(false);
}

}  // namespace korvex
