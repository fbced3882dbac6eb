#pragma once

#include "diagram/volumes/VolumesTableDelegate.h"

#include <QWidget>

class QGridLayout;
class QLabel;
class QPushButton;

namespace korvex {

// What the main area shows for a selected target that has no scan yet: its
// icon, name and a few facts, and an invitation to start scanning it.
class UnscannedOverview : public QWidget {
    Q_OBJECT
  public:
    explicit UnscannedOverview(QWidget* parent = nullptr);

    void setDelegate(VolumesTableDelegate* delegate) { mDelegate = delegate; }
    // Shows the entry; null shows nothing but the invitation.
    void setEntry(const TopLevelRef& entry, const std::string& homeFolder = {});
    const TopLevelRef& entry() const { return mEntry; }

    QLabel* nameLabel() const { return mName; }
    // "%@ available of %@" for a volume; hidden for a folder.
    QLabel* summaryLabel() const { return mSummary; }
    QLabel* invitationLabel() const { return mInvitation; }
    QPushButton* startButton() const { return mStart; }
    // The facts shown, label then value, in order.
    std::vector<std::pair<QString, QString>> shownFacts() const;

  protected:
    void changeEvent(QEvent* event) override;

  private:
    void applyPalette();

    VolumesTableDelegate* mDelegate = nullptr;
    TopLevelRef mEntry;
    QLabel* mIcon;
    QLabel* mName;
    QLabel* mSummary;
    QGridLayout* mFacts;
    QLabel* mInvitation;
    QPushButton* mStart;
};

}  // namespace korvex
