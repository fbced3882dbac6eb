#include "cleanup/collection/views/CollectionPanel.h"

#include "cleanup/collection/DoCollectionController.h"
#include "platform/desktop/PathListMime.h"
#include "scan/format/SizeFormatter.h"

#include <QActionGroup>
#include <QDragEnterEvent>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
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
    setStyleSheet(QStringLiteral(
        "#collectionPanel { border-top: 1px solid palette(mid); }"
        "#collectionDropArea { border: 2px dashed palette(mid); border-radius: 8px;"
        " color: palette(placeholder-text); padding: 14px; }"
        "#collectionDropArea[highlighted=\"true\"] { border-color: palette(highlight);"
        " background: palette(alternate-base); color: palette(text); }"
        "#collectionMainButton { background: palette(highlight); color: palette(highlighted-text);"
        " border: none; border-top-left-radius: 6px; border-bottom-left-radius: 6px;"
        " padding: 7px 16px; font-weight: 600; }"
        "#collectionMainButton:disabled { background: palette(mid); color: palette(light); }"
        "#collectionChooser { background: palette(highlight); color: palette(highlighted-text);"
        " border: none; border-left: 1px solid palette(light); border-top-right-radius: 6px;"
        " border-bottom-right-radius: 6px; padding: 7px 6px; }"
        "#collectionChooser:disabled { background: palette(mid); }"
        "#collectionChooser::menu-indicator { image: none; }"));

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(12, 10, 12, 12);
    column->setSpacing(8);

    mSummary = new QLabel(this);
    mSummary->setObjectName(QStringLiteral("collectionSummary"));
    QFont summaryFont = mSummary->font();
    summaryFont.setWeight(QFont::DemiBold);
    mSummary->setFont(summaryFont);
    mSummary->setAlignment(Qt::AlignCenter);

    mDropArea =
        new QLabel(tr("Drop files and folders here to add them to the Selected list"), this);
    mDropArea->setObjectName(QStringLiteral("collectionDropArea"));
    mDropArea->setAlignment(Qt::AlignCenter);
    mDropArea->setWordWrap(true);

    mStatus = new QLabel(this);
    mStatus->setObjectName(QStringLiteral("collectionStatus"));
    mStatus->setAlignment(Qt::AlignCenter);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(0);
    mButton = new QPushButton(this);
    mButton->setObjectName(QStringLiteral("collectionMainButton"));
    mButton->setMinimumWidth(170);
    mChooser = new QToolButton(this);
    mChooser->setObjectName(QStringLiteral("collectionChooser"));
    mChooser->setArrowType(Qt::DownArrow);
    mChooser->setPopupMode(QToolButton::InstantPopup);
    mChooser->setToolTip(tr("Choose what the button does with the Selected list"));
    mChooserMenu = new QMenu(mChooser);
    mChooser->setMenu(mChooserMenu);
    connect(mChooserMenu, &QMenu::aboutToShow, this, [this] { rebuildChooserMenu(); });
    buttons->addStretch(1);
    buttons->addWidget(mButton);
    buttons->addWidget(mChooser);
    buttons->addStretch(1);

    column->addWidget(mSummary);
    column->addWidget(mDropArea);
    column->addLayout(buttons);
    column->addWidget(mStatus);

    connect(mButton, &QPushButton::clicked, this, [this] {
        if (mController)
            mController->onMainActionButtonPressed();
    });
    mFlashTimer.setInterval(kFlashIntervalMs);
    connect(&mFlashTimer, &QTimer::timeout, this, [this] { flash(); });
    showState(mState);
}

void CollectionPanel::showState(const CollectionViewState& state) {
    mState = state;
    mSummary->setText(tr("%n item(s), %1", "", static_cast<int>(state.count))
                          .arg(QString::fromStdString(stringFromSize(
                              static_cast<std::uint64_t>(std::max<std::int64_t>(state.size, 0))))));
    mSummary->setVisible(state.summaryVisible);
    mDropArea->setVisible(state.dropAreaVisible);
    mButton->setText(QString::fromStdString(state.buttonTitle));
    mButton->setEnabled(state.buttonEnabled);
    mButton->setAccessibleDescription(QString::fromStdString(state.buttonAccessibilityValue()));
    mButton->setProperty("accessibilityValue",
                         QString::fromStdString(state.buttonAccessibilityValue()));
    mChooser->setVisible(state.chooserVisible);
    mChooser->setEnabled(state.chooserEnabled);

    const QString status = QString::fromStdString(statusTextFor(state.operationState));
    mStatus->setText(status);
    mStatus->setVisible(!status.isEmpty());
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
    QColor color = palette.color(QPalette::WindowText);
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
