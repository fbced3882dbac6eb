#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;

namespace korvex {

// The preferences: the diagram's hint, removing hidden items, alerts the user
// silenced, how many recent folders to keep and the appearance. Every change
// is stored and takes effect at once; the window shows the stored values
// whenever it opens or is told they changed.
class PreferencesWindow : public QDialog {
    Q_OBJECT
  public:
    explicit PreferencesWindow(QWidget* parent = nullptr);

    // Shows every value as it is stored now.
    void refresh();

    QCheckBox& hintBox() const { return *mHint; }
    QCheckBox& hiddenFilesBox() const { return *mHiddenFiles; }
    QCheckBox& scanHistoryBox() const { return *mScanHistory; }
    QPushButton& showAlertsAgainButton() const { return *mShowAlertsAgain; }
    QLabel& alertsStatus() const { return *mAlertsStatus; }
    QSpinBox& recentsLimitBox() const { return *mRecentsLimit; }
    QComboBox& appearanceBox() const { return *mAppearance; }

  signals:
    // The window keeps at most this many recent folders from now on; the
    // owner of the list applies (and stores) it.
    void recentsLimitChosen(int limit);
    void hintChanged(bool shown);
    // The appearance was stored and applied.
    void appearanceChanged();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void refreshAlertsStatus();

    QCheckBox* mHint;
    QCheckBox* mHiddenFiles;
    QCheckBox* mScanHistory;
    QPushButton* mShowAlertsAgain;
    QLabel* mAlertsStatus;
    QSpinBox* mRecentsLimit;
    QComboBox* mAppearance;
    // Set while the window shows stored values, which are no user changes.
    bool mRefreshing = false;
};

}  // namespace korvex
