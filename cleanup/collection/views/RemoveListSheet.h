#pragma once

#include "cleanup/collection/views/RemoveListPresenter.h"

#include <QDialog>

#include <functional>
#include <memory>

class QLabel;
class QLayout;
class QProgressBar;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class QVBoxLayout;

namespace korvex {

// The review sheet over the window: the rows of an operation with their
// ticks, sizes and, on request, their errors; the progress while it runs and
// its result, or the congratulations, once it has.
class RemoveListSheet : public QDialog {
    Q_OBJECT
  public:
    RemoveListSheet(std::shared_ptr<RemoveListPresenter> presenter, QWidget* window);
    ~RemoveListSheet() override;

    RemoveListPresenter& presenter() { return *mPresenter; }
    QLabel* titleLabel() const { return mTitle; }
    // What is ticked before the start; the congratulations after it.
    QLabel* subtitleLabel() const { return mSubtitle; }
    QLabel* resultLabel() const { return mResult; }
    QTreeWidget* rows() const { return mRows; }
    QPushButton* actionButton() const { return mAction; }
    QPushButton* retryButton() const { return mRetry; }
    QPushButton* closeButton() const { return mClose; }
    QPushButton* cancelButton() const { return mCancel; }
    QPushButton* detailsButton() const { return mDetails; }
    // Shown after items went to the Trash.
    QPushButton* showTrashButton() const { return mShowTrash; }
    void setTrashOpener(std::function<void()> opener) { mTrashOpener = std::move(opener); }
    // The row of the item at `path`, if shown.
    QTreeWidgetItem* rowFor(const std::string& path) const;

    void refresh();

  protected:
    void done(int result) override;

  private:
    QWidget* makeHeading();
    QLayout* makeButtons();
    // The title, counts and buttons of the model's state, rows aside.
    void showState();
    void fillRows();
    void showHeading(bool congratulations);
    void showRowMenu(const QPoint& at);

    std::shared_ptr<RemoveListPresenter> mPresenter;
    QWidget* mHeading;
    QLabel* mIcon;
    QLabel* mTitle;
    QLabel* mSubtitle;
    QLabel* mResult;
    QTreeWidget* mRows;
    QProgressBar* mProgress;
    QPushButton* mAction;
    QPushButton* mRetry;
    QPushButton* mClose;
    QPushButton* mCancel;
    QPushButton* mDetails;
    QPushButton* mShowTrash;
    std::function<void()> mTrashOpener;
    QVBoxLayout* mColumn;
    bool mFilling = false;
};

}  // namespace korvex
