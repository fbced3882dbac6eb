#pragma once

#include "cleanup/collection/CollectionViews.h"

#include <QPointer>

#include <functional>

class QWidget;

namespace korvex {

class CollectionPanel;
class RemoveListPresenter;
class RemoveListSheet;

// The collection's views in a window: its panel, its alerts as sheets, the
// folder panel for move and copy, and the review sheet.
class CollectionWindowViews : public CollectionViews {
  public:
    // Asks for a folder; the default opens a directory panel over the window.
    using FolderChooser = std::function<void(
        CollectionAction action, std::function<void(std::optional<std::string>)> answer)>;

    CollectionWindowViews(QWidget* window, CollectionPanel* panel);
    ~CollectionWindowViews() override;

    void setFolderChooser(FolderChooser chooser) { mFolderChooser = std::move(chooser); }
    // What the review sheet's "Show Trash" does; answers whether it was shown.
    // By default the Trash's files folder opens with the desktop's handler.
    using TrashOpener = std::function<bool()>;
    void setTrashOpener(TrashOpener opener) { mTrashOpener = std::move(opener); }
    RemoveListSheet* reviewSheet() const;
    // The alert on screen, if any.
    QWidget* currentAlert() const { return mAlert; }

    void showCollectionAlert(const std::string& message, const std::string& informative,
                             bool suppressible, std::function<void(bool)> answer) override;
    void chooseDestinationFolder(CollectionAction action,
                                 std::function<void(std::optional<std::string>)> answer) override;
    void showFolderIsCollectedAlert(CollectionAction action, const std::string& folder,
                                    std::function<void(bool chooseAnother)> answer) override;
    void showReviewSheet(const std::shared_ptr<OperationsManager>& manager,
                         ActionTypeMenuController& chooser,
                         std::function<void()> dismissed) override;
    bool isReviewSheetVisible() const override;
    void startReviewSheetOperation() override;
    void collectionViewStateChanged(const CollectionViewState& state) override;

  private:
    void openFolderPanel(CollectionAction action,
                         std::function<void(std::optional<std::string>)> answer);

    QPointer<QWidget> mWindow;
    TrashOpener mTrashOpener;
    QPointer<CollectionPanel> mPanel;
    QPointer<RemoveListSheet> mSheet;
    std::weak_ptr<RemoveListPresenter> mPresenter;
    QPointer<QWidget> mAlert;
    FolderChooser mFolderChooser;
};

}  // namespace korvex
