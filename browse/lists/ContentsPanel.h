#pragma once

#include "browse/biggest/BiggestFilesController.h"
#include "browse/lists/CollectCheck.h"
#include "browse/lists/DraggableTreeView.h"
#include "browse/lists/ListProxyController.h"
#include "browse/search/SearchPanelPresenter.h"

#include <QWidget>

#include <memory>
#include <string>
#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;

namespace korvex {

class FileListModel;
class OutlineListConrtoller;

// What the window hears from the panel.
class ContentsPanelDelegate {
  public:
    virtual ~ContentsPanelDelegate() = default;
    // The user selected other rows (for the diagram's outlines and the actions).
    virtual void contentsPanelSelectionChanged(const ItemList& selected) = 0;
    // Backspace or Alt+Up in a list: the folder above the shown one.
    virtual void contentsPanelGoUp() = 0;
    // A folder row the scan could not read was opened.
    virtual void contentsPanelWantsGrantAccessFor(const ItemRef& folder) = 0;
    // A right click on the row of `node`: the window shows the node's menu.
    virtual void contentsPanelRowMenu(const ItemRef& node, const QPoint& globalPos) = 0;
    // The button of a lock the user can lift in the preferences.
    virtual void contentsPanelOpenPreferences() = 0;
};

// The whole right-hand panel: search field, the switch between folder
// columns, biggest files and search results, and the details of the
// selection.
class ContentsPanel : public QWidget,
                      private BiggestFilesDelegate,
                      private SearchResultsView,
                      private SearchBarView,
                      private SearchPanelDelegate {
    Q_OBJECT
  public:
    explicit ContentsPanel(QWidget* parent = nullptr);
    ~ContentsPanel() override;

    void setDelegate(ContentsPanelDelegate* delegate) { mDelegate = delegate; }
    // The scanned root, and the folder the diagram shows (the root when none).
    void setDisplayedFolder(const ItemRef& root, const ItemRef& folder);
    void setScanning(bool scanning);
    // After the tree changed in place (scan progress, removals).
    void reload();
    // Rows offer check boxes that hand their changes to `toggle`.
    void setCollectToggle(CollectToggle toggle);
    // The collected marks (or the rules behind them) changed: the rows and
    // the details show them again, keeping selection and scroll.
    void refreshCollectMarks();
    // The walker's sink: hand it to the scan so the root's list fills live.
    BiggestFilesController& biggestFilesController() { return mBiggest; }
    // The find command.
    void focusSearchField();
    void showList(ActiveControllerType type);
    // Whether rows may be dragged out as files (see RadialView's own switch).
    void setFileDragsEnabled(bool enabled);
    // While two scans are compared: the list of their changes, offered by a
    // "Changes" switch beside the others; null takes both away.
    void setChangesList(QWidget* list);
    ListProxyController& listProxy() { return *mProxy; }
    OutlineListConrtoller& folderColumns() { return *mFolders; }
    QLineEdit& searchField() { return *mField; }
    DraggableTreeView& biggestFilesView() { return *mBiggestView; }
    DraggableTreeView& searchResultsView() { return *mSearchView; }
    // The Folder and Biggest files switches; the shown list's is checked.
    QPushButton& foldersSwitch() { return *mFoldersSwitch; }
    QPushButton& biggestSwitch() { return *mBiggestSwitch; }
    QPushButton& changesSwitch() { return *mChangesSwitch; }
    QString detailsText() const;
    // Shown under the details when the selected row's lock can be lifted in
    // the preferences.
    QPushButton& preferencesButton() { return *mPreferencesButton; }
    ItemList selectedItems() const { return mProxy->getActiveSelectedItems(); }
    // Selects these nodes in the folder columns, opening the columns to them.
    void selectNodes(const ItemList& nodes);

  signals:
    // A drag of rows from any of the lists runs; once it ended, the dragged
    // paths that are gone (a file manager moved them away).
    void rowDragStarted();
    void rowDragEnded(const std::vector<std::string>& gonePaths);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool isListOnScreen() const override;
    void showBiggestFiles(const ItemRef& root, const ItemList& files, bool keepPosition) override;
    bool isInWindow() const override { return isVisible(); }
    void showSearchResults(const FileSystemArray& results) override;
    void setSearchText(const std::string& text) override;
    void searchPanelDidChangeActive(bool) override {}
    void searchPanelDidChangeSearching(bool searching) override;
    void searchPanelDidChangeHasQuery(bool hasQuery) override;
    void searchPanelResignFocus() override;

    void selectionChanged();
    void showDetails(const ItemList& selected);
    void preview(const QString& path);
    void rowMenu(const ItemRef& node, const QPoint& globalPos);

    ContentsPanelDelegate* mDelegate = nullptr;
    BiggestFilesController mBiggest;
    OutlineListConrtoller* mFolders;
    FileListModel* mBiggestModel;
    FileListModel* mSearchModel;
    DraggableTreeView* mBiggestView;
    DraggableTreeView* mSearchView;
    ListProxyController* mProxy;
    QLineEdit* mField;
    QLabel* mDetails;
    QPushButton* mPreferencesButton;
    QPushButton* mFoldersSwitch = nullptr;
    QPushButton* mBiggestSwitch = nullptr;
    QPushButton* mChangesSwitch = nullptr;
    ActiveControllerType mListBeforeSearch = ActiveControllerType::folders;
    bool mScanning = false;
    std::unique_ptr<SearchBarPresenterImpl> mBar;
    std::unique_ptr<SearchResultsPresenter> mResults;
    std::unique_ptr<SearchPanelPresenter> mSearchPanel;
};

}  // namespace korvex
