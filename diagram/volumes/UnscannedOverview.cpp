#include "diagram/volumes/UnscannedOverview.h"

#include "diagram/volumes/OverviewFacts.h"
#include "diagram/volumes/SidebarPalette.h"
#include "diagram/volumes/TargetIcons.h"
#include "diagram/volumes/TargetTexts.h"
#include "diagram/volumes/VolumesTableLocalizable.h"
#include "platform/UserFolders.h"

#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace korvex {

namespace {
constexpr int kIconSize = 96;

QString text(const platform::TextEntry& entry) {
    return QString::fromStdString(VolumesTableLocalizable::text(entry));
}
}  // namespace

UnscannedOverview::UnscannedOverview(QWidget* parent)
    : QWidget(parent),
      mIcon(new QLabel(this)),
      mName(new QLabel(this)),
      mSummary(new QLabel(this)),
      mFacts(new QGridLayout),
      mInvitation(new QLabel(this)),
      mStart(new QPushButton(text(VolumesTableLocalizable::kStartScanningButton), this)) {
    mIcon->setAlignment(Qt::AlignCenter);
    mIcon->setFixedSize(kIconSize, kIconSize);

    QFont nameFont = font();
    nameFont.setPointSizeF(font().pointSizeF() * 1.7);
    nameFont.setWeight(QFont::DemiBold);
    mName->setFont(nameFont);
    mName->setAlignment(Qt::AlignCenter);
    mName->setTextFormat(Qt::PlainText);
    mName->setWordWrap(true);
    mName->setObjectName("overviewName");

    mSummary->setAlignment(Qt::AlignCenter);
    mSummary->setTextFormat(Qt::PlainText);
    mSummary->setObjectName("overviewSummary");

    mFacts->setHorizontalSpacing(12);
    mFacts->setVerticalSpacing(6);

    mInvitation->setTextFormat(Qt::RichText);
    mInvitation->setText(text(VolumesTableLocalizable::kInvitation));
    mInvitation->setAlignment(Qt::AlignCenter);
    mInvitation->setWordWrap(true);
    mInvitation->setObjectName("overviewInvitation");

    mStart->setDefault(true);
    mStart->setCursor(Qt::PointingHandCursor);
    mStart->setMinimumHeight(34);
    mStart->setObjectName("overviewStartScanning");
    connect(mStart, &QPushButton::clicked, this, [this] {
        if (mDelegate != nullptr) {
            mDelegate->startScanAction();
        }
    });

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(32, 32, 32, 32);
    column->setSpacing(10);
    column->addStretch(1);
    column->addWidget(mIcon, 0, Qt::AlignHCenter);
    column->addWidget(mName);
    column->addWidget(mSummary);
    column->addSpacing(6);
    auto* factsBox = new QWidget(this);
    factsBox->setLayout(mFacts);
    column->addWidget(factsBox, 0, Qt::AlignHCenter);
    column->addSpacing(14);
    column->addWidget(mInvitation);
    column->addSpacing(4);
    column->addWidget(mStart, 0, Qt::AlignHCenter);
    column->addStretch(2);

    setAutoFillBackground(true);
    applyPalette();
    setEntry(nullptr);
}

void UnscannedOverview::setEntry(const TopLevelRef& entry, const std::string& homeFolder) {
    mEntry = entry;
    while (QLayoutItem* item = mFacts->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    if (entry == nullptr) {
        mIcon->clear();
        mName->clear();
        mSummary->hide();
        return;
    }
    const std::string home =
        homeFolder.empty() ? platform::UserFolders::current().home() : homeFolder;
    QIcon icon = iconForTargetKind(targetKindOf(*entry, home));
    mIcon->setPixmap(icon.pixmap(QSize(kIconSize, kIconSize), devicePixelRatioF()));
    mName->setText(QString::fromStdString(entryTitle(*entry)));
    mSummary->setVisible(entry->isVol());
    mSummary->setText(entry->isVol() ? QString::fromStdString(availableOfText(*entry)) : QString());

    SidebarPalette colors(palette());
    int line = 0;
    for (const auto& [label, value] : overviewFacts(*entry)) {
        auto* labelWidget = new QLabel(label, this);
        labelWidget->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        QPalette muted = labelWidget->palette();
        muted.setColor(QPalette::WindowText, colors.muted);
        labelWidget->setPalette(muted);
        auto* valueWidget = new QLabel(value, this);
        valueWidget->setTextFormat(Qt::PlainText);
        valueWidget->setTextInteractionFlags(Qt::TextSelectableByMouse);
        mFacts->addWidget(labelWidget, line, 0);
        mFacts->addWidget(valueWidget, line, 1);
        ++line;
    }
}

std::vector<std::pair<QString, QString>> UnscannedOverview::shownFacts() const {
    std::vector<std::pair<QString, QString>> facts;
    for (int line = 0; line < mFacts->rowCount(); ++line) {
        QLayoutItem* label = mFacts->itemAtPosition(line, 0);
        QLayoutItem* value = mFacts->itemAtPosition(line, 1);
        if (label == nullptr || value == nullptr) {
            continue;
        }
        facts.emplace_back(qobject_cast<QLabel*>(label->widget())->text(),
                           qobject_cast<QLabel*>(value->widget())->text());
    }
    return facts;
}

void UnscannedOverview::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) {
        applyPalette();
    }
}

// The start button wears the accent colour of the palette, so it stands out
// in light and dark themes alike.
void UnscannedOverview::applyPalette() {
    SidebarPalette colors(palette());
    QColor pressed = SidebarPalette::blend(colors.accent, colors.text, 0.8);
    mStart->setStyleSheet(
        QStringLiteral("QPushButton { background-color: %1; color: %2; border: none;"
                       " border-radius: 8px; padding: 7px 22px; font-weight: 600; }"
                       "QPushButton:pressed { background-color: %3; }")
            .arg(colors.accent.name(), colors.selectionText.name(), pressed.name()));
    QPalette summary = mSummary->palette();
    summary.setColor(QPalette::WindowText, colors.muted);
    mSummary->setPalette(summary);
}

}  // namespace korvex
