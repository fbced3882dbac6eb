#include "app/preferences/PreferencesWindow.h"

#include "app/preferences/SuppressedAlerts.h"
#include "app/settings/Settings.h"
#include "app/toolkit/Appearance.h"
#include "browse/folders/FolderItemsController.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace korvex {

namespace {

QLabel* noteLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    label->setForegroundRole(QPalette::PlaceholderText);
    return label;
}

}  // namespace

PreferencesWindow::PreferencesWindow(QWidget* parent)
    : QDialog(parent),
      mHint(new QCheckBox(tr("Show hint for selected items"), this)),
      mHiddenFiles(new QCheckBox(tr("Allow removing hidden files and folders"), this)),
      mScanHistory(new QCheckBox(tr("Keep the last scans of each folder to compare with"), this)),
      mShowAlertsAgain(new QPushButton(tr("Show All Alerts Again"), this)),
      mAlertsStatus(noteLabel({}, this)),
      mRecentsLimit(new QSpinBox(this)),
      mAppearance(new QComboBox(this)) {
    setWindowTitle(tr("Preferences"));
    setObjectName(QStringLiteral("preferencesWindow"));
    // Wide enough that the notes under the choices keep to one line.
    setMinimumWidth(520);

    mRecentsLimit->setRange(static_cast<int>(RecentsController::kFewestRecents),
                            static_cast<int>(RecentsController::kMostRecents));
    mAppearance->addItems({tr("System"), tr("Light"), tr("Dark")});

    auto* form = new QFormLayout;
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    form->addRow(tr("Diagram:"), mHint);
    auto* hidden = new QVBoxLayout;
    hidden->setSpacing(2);
    hidden->addWidget(mHiddenFiles);
    hidden->addWidget(noteLabel(tr("Removing hidden items is not recommended."), this));
    form->addRow(tr("Removal:"), hidden);
    auto* history = new QVBoxLayout;
    history->setSpacing(2);
    history->addWidget(mScanHistory);
    history->addWidget(noteLabel(tr("The last five scans of each folder are kept in your data "
                                    "folder, so View › Compare with Previous Scan is one click."),
                                 this));
    form->addRow(tr("Scans:"), history);
    auto* alerts = new QVBoxLayout;
    alerts->setSpacing(2);
    alerts->addWidget(mShowAlertsAgain, 0, Qt::AlignLeft);
    alerts->addWidget(mAlertsStatus);
    form->addRow(tr("Alerts:"), alerts);
    auto* recents = new QHBoxLayout;
    recents->addWidget(new QLabel(tr("Keep up to"), this));
    recents->addWidget(mRecentsLimit);
    recents->addWidget(new QLabel(tr("recent folders"), this));
    recents->addStretch(1);
    form->addRow(tr("Recent folders:"), recents);
    form->addRow(tr("Appearance:"), mAppearance);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addStretch(1);
    layout->addWidget(buttons);

    connect(mHint, &QCheckBox::toggled, this, [this](bool on) {
        if (!mRefreshing) {
            Settings::setShowHintForSelectedItem(on);
            emit hintChanged(on);
        }
    });
    connect(mHiddenFiles, &QCheckBox::toggled, this, [this](bool on) {
        if (!mRefreshing) {
            Settings::setAllowRemovingHiddenFiles(on);
        }
    });
    connect(mScanHistory, &QCheckBox::toggled, this, [this](bool on) {
        if (!mRefreshing) {
            Settings::setKeepScanHistory(on);
        }
    });
    connect(mShowAlertsAgain, &QPushButton::clicked, this, [this] {
        SuppressedAlerts::showAllAgain();
        refreshAlertsStatus();
    });
    connect(mRecentsLimit, &QSpinBox::valueChanged, this, [this](int limit) {
        if (!mRefreshing) {
            emit recentsLimitChosen(limit);
        }
    });
    connect(mAppearance, &QComboBox::currentIndexChanged, this, [this](int type) {
        if (!mRefreshing && type >= 0) {
            Appearance::setStoredType(static_cast<unsigned long long>(type));
            emit appearanceChanged();
        }
    });
    refresh();
}

void PreferencesWindow::refresh() {
    mRefreshing = true;
    mHint->setChecked(Settings::showHintForSelectedItem());
    mHiddenFiles->setChecked(Settings::allowRemovingHiddenFiles());
    mScanHistory->setChecked(Settings::keepScanHistory());
    mRecentsLimit->setValue(static_cast<int>(RecentsController::storedLimit()));
    const auto type = Appearance::storedType();
    mAppearance->setCurrentIndex(
        type < static_cast<unsigned long long>(mAppearance->count()) ? static_cast<int>(type) : 0);
    refreshAlertsStatus();
    mRefreshing = false;
}

void PreferencesWindow::refreshAlertsStatus() {
    const bool suppressed = SuppressedAlerts::anySuppressed();
    mShowAlertsAgain->setEnabled(suppressed);
    mAlertsStatus->setText(suppressed ? tr("Some alerts are not shown because you asked not to "
                                           "see them again.")
                                      : tr("Every alert is shown."));
}

void PreferencesWindow::showEvent(QShowEvent* event) {
    // Alerts may have been silenced, or the appearance chosen in the menu,
    // since the window was last open.
    refresh();
    QDialog::showEvent(event);
}

}  // namespace korvex
