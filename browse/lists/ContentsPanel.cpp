#include "browse/lists/ContentsPanel.h"

#include "browse/contents/VolumeContentContainerLocalizable.h"
#include "browse/lists/FileListModel.h"
#include "browse/lists/ItemTexts.h"
#include "browse/lists/NameAndFolderDelegate.h"
#include "browse/lists/OutlineListConrtoller.h"
#include "scan/tree/FolderSystemItem.h"

#include <QAbstractItemView>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTreeView>
#include <QVBoxLayout>

#include <optional>
#include <unordered_set>

namespace korvex {

namespace {

DraggableTreeView* makeFileList(FileListModel* model, QWidget* parent) {
    auto* view = new DraggableTreeView(parent);
    view->setModel(model);
    view->setRootIsDecorated(false);
    view->setHeaderHidden(true);
    view->setUniformRowHeights(true);
    view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view->setTextElideMode(Qt::ElideMiddle);
    view->setItemDelegateForColumn(0, new NameAndFolderDelegate(view));
    view->header()->setStretchLastSection(false);
    view->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    view->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    return view;
}

FolderRef asFolder(const ItemRef& item) {
    return FolderRef(dynamic_cast<FolderSystemItem*>(item.get()));
}

}  // namespace

ContentsPanel::ContentsPanel(QWidget* parent)
    : QWidget(parent),
      mBiggest(this),
      mFolders(new OutlineListConrtoller(this)),
      mBiggestModel(new FileListModel(this)),
      mSearchModel(new FileListModel(this)),
      mBiggestView(makeFileList(mBiggestModel, this)),
      mSearchView(makeFileList(mSearchModel, this)),
      mProxy(new ListProxyController(mFolders, mBiggestView, mSearchView, this)),
      mField(new QLineEdit(this)),
      mDetails(new QLabel(this)),
      mPreferencesButton(new QPushButton(this)),
      mBar(std::make_unique<SearchBarPresenterImpl>(static_cast<SearchBarView&>(*this))),
      mResults(std::make_unique<SearchResultsPresenter>(static_cast<SearchResultsView&>(*this))),
      mSearchPanel(std::make_unique<SearchPanelPresenter>(
          *mBar, *mResults, static_cast<SearchPanelDelegate*>(this))) {
    mField->setPlaceholderText(tr("Search"));
    mField->setClearButtonEnabled(true);
    mField->installEventFilter(this);
    // Only the user's edits: texts set by the presenter are not typing.
    connect(mField, &QLineEdit::textEdited, this,
            [this](const QString& text) { mBar->controlTextDidChange(text.toStdString()); });

    auto* folders = new QPushButton(tr("Folder"), this);
    auto* biggest = new QPushButton(tr("Biggest files"), this);
    auto* changes = new QPushButton(tr("Changes"), this);
    changes->setObjectName(QStringLiteral("changesSwitch"));
    changes->hide();
    // The list on show is the checked one. Not a group that Tab enters only
    // at its checked button: each switch is a Tab stop of its own.
    for (QPushButton* choice : {folders, biggest, changes}) {
        choice->setCheckable(true);
        choice->setStyleSheet(QStringLiteral(
            "QPushButton { border: 1px solid palette(mid); border-radius: 5px;"
            " padding: 4px 10px; background: palette(button); color: palette(button-text); }"
            "QPushButton:checked { background: palette(highlight);"
            " color: palette(highlighted-text); border-color: palette(highlight); }"));
    }
    folders->setChecked(true);
    mFoldersSwitch = folders;
    mBiggestSwitch = biggest;
    mChangesSwitch = changes;
    connect(folders, &QPushButton::clicked, this,
            [this] { showList(ActiveControllerType::folders); });
    connect(biggest, &QPushButton::clicked, this,
            [this] { showList(ActiveControllerType::biggest); });
    connect(changes, &QPushButton::clicked, this,
            [this] { showList(ActiveControllerType::changes); });

    mDetails->setWordWrap(true);
    mDetails->setTextFormat(Qt::RichText);
    mPreferencesButton->hide();
    connect(mPreferencesButton, &QPushButton::clicked, this, [this] {
        if (mDelegate != nullptr) {
            mDelegate->contentsPanelOpenPreferences();
        }
    });

    auto* switches = new QHBoxLayout;
    switches->addWidget(folders);
    switches->addWidget(biggest);
    switches->addWidget(changes);
    switches->addWidget(mField, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(switches);
    layout->addWidget(mProxy, 1);
    layout->addWidget(mDetails);
    layout->addWidget(mPreferencesButton, 0, Qt::AlignLeft);

    // Tab runs from the switches through the field to the lists.
    QWidget::setTabOrder(folders, biggest);
    QWidget::setTabOrder(biggest, changes);
    QWidget::setTabOrder(changes, mField);
    QWidget::setTabOrder(mField, mBiggestView);
    QWidget::setTabOrder(mBiggestView, mSearchView);
    mFolders->setTabPredecessor(mField);

    connect(mFolders, &OutlineListConrtoller::selectionChanged, this,
            &ContentsPanel::selectionChanged);
    auto goUp = [this] {
        if (mDelegate != nullptr) {
            mDelegate->contentsPanelGoUp();
        }
    };
    connect(mFolders, &OutlineListConrtoller::goUpRequested, this, goUp);
    connect(mFolders, &OutlineListConrtoller::wantsToShowGrantAccessDialogueFor, this,
            [this](const ItemRef& folder) {
                if (mDelegate != nullptr) {
                    mDelegate->contentsPanelWantsGrantAccessFor(folder);
                }
            });
    connect(mFolders, &OutlineListConrtoller::rowMenuRequested, this, &ContentsPanel::rowMenu);
    for (DraggableTreeView* list : {mBiggestView, mSearchView}) {
        connect(list, &DraggableTreeView::rowMenuRequested, this,
                [this, list](const QModelIndex& row, const QPoint& at) {
                    const auto* model = static_cast<const FileListModel*>(list->model());
                    rowMenu(model->files().objectAtIndex(static_cast<std::size_t>(row.row())), at);
                });
        connect(list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
                &ContentsPanel::selectionChanged);
        connect(list, &DraggableTreeView::rowDragStarted, this, &ContentsPanel::rowDragStarted);
        connect(list, &DraggableTreeView::rowDragEnded, this, &ContentsPanel::rowDragEnded);
        connect(list, &DraggableTreeView::goUpRequested, this, goUp);
    }
    connect(mFolders, &OutlineListConrtoller::rowDragStarted, this, &ContentsPanel::rowDragStarted);
    connect(mFolders, &OutlineListConrtoller::rowDragEnded, this, &ContentsPanel::rowDragEnded);
    selectionChanged();
}

ContentsPanel::~ContentsPanel() {
    mSearchPanel.reset();
    mBiggest.setDelegate(nullptr);
}

void ContentsPanel::setDisplayedFolder(const ItemRef& root, const ItemRef& folder) {
    const ItemRef& shown = folder ? folder : root;
    mFolders->showFolder(root, shown);
    mBiggest.updateWithItem(shown);
    mSearchPanel->setFolder(asFolder(shown));
    selectionChanged();
}

void ContentsPanel::selectNodes(const ItemList& nodes) {
    mFolders->selectNodes(nodes);
}

void ContentsPanel::setScanning(bool scanning) {
    mScanning = scanning;
    mFolders->setScanning(scanning);
    // The search reads the tree away from the main thread: the results of
    // the tree before the scan go, and no search runs while it grows.
    if (scanning) {
        mBar->clearSearch();
    }
}

void ContentsPanel::reload() {
    mFolders->reloadColumns();
    mBiggest.updateWithItem(mBiggest.displayRoot());
    if (mSearchView->isVisible() && !mScanning) {
        mResults->research(mResults->root());
    }
    showDetails(selectedItems());
}

void ContentsPanel::setCollectToggle(CollectToggle toggle) {
    mFolders->setCollectToggle(toggle);
    mBiggestModel->setCollectToggle(toggle);
    mSearchModel->setCollectToggle(std::move(toggle));
}

void ContentsPanel::refreshCollectMarks() {
    // The marks are read from the nodes when a row is painted.
    for (QAbstractItemView* list : findChildren<QAbstractItemView*>()) {
        list->viewport()->update();
    }
    // A lock and its message may have come or gone with the marks.
    showDetails(selectedItems());
}

void ContentsPanel::focusSearchField() {
    mField->setFocus(Qt::ShortcutFocusReason);
    mField->selectAll();
}

void ContentsPanel::showList(ActiveControllerType type) {
    if (type == ActiveControllerType::biggest) {
        showBiggestFiles(mBiggest.displayRoot(), mBiggest.displayFiles(), false);
    }
    mProxy->updateActiveControllerType(type);
    if (const ActiveControllerType shown = mProxy->activeType();
        shown != ActiveControllerType::search) {
        mFoldersSwitch->setChecked(shown == ActiveControllerType::folders);
        mBiggestSwitch->setChecked(shown == ActiveControllerType::biggest);
        mChangesSwitch->setChecked(shown == ActiveControllerType::changes);
    }
    selectionChanged();
}

void ContentsPanel::setFileDragsEnabled(bool enabled) {
    for (DraggableTreeView* list : findChildren<DraggableTreeView*>()) {
        list->setDragEnabled(enabled);
    }
}

void ContentsPanel::setChangesList(QWidget* list) {
    mProxy->setChangesList(list);
    mChangesSwitch->setVisible(list != nullptr);
    showList(list != nullptr ? ActiveControllerType::changes : mProxy->activeType());
}

bool ContentsPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == mField && event->type() == QEvent::KeyPress) {
        switch (static_cast<QKeyEvent*>(event)->key()) {
            case Qt::Key_Escape:
                return mBar->doCommand(SearchBarPresenterImpl::Command::cancelOperation);
            case Qt::Key_Tab:
                return mBar->doCommand(SearchBarPresenterImpl::Command::insertTab);
            default:
                break;
        }
    }
    if (watched == mField && event->type() == QEvent::FocusOut && mField->text().isEmpty()) {
        mSearchPanel->textFieldDidChangeExpansionStateTo(false);
    }
    return QWidget::eventFilter(watched, event);
}

bool ContentsPanel::isListOnScreen() const {
    return mBiggestView->isVisible();
}

void ContentsPanel::showBiggestFiles(const ItemRef& root, const ItemList& files,
                                     bool keepPosition) {
    std::vector<const FileSystemItem*> kept;
    for (const ItemRef& item : selectedFileListNodes(*mBiggestView)) {
        kept.push_back(item.get());
    }
    const int scroll = mBiggestView->verticalScrollBar()->value();
    mBiggestModel->setFiles(FileSystemArray(files, root));
    if (!keepPosition) {
        return;
    }
    for (const FileSystemItem* item : kept) {
        std::size_t row = mBiggestModel->files().indexOfObject(item);
        if (row != FileSystemArray::kNotFound) {
            mBiggestView->selectionModel()->select(
                mBiggestModel->index(static_cast<int>(row), 0),
                QItemSelectionModel::Select | QItemSelectionModel::Rows);
        }
    }
    mBiggestView->verticalScrollBar()->setValue(scroll);
}

void ContentsPanel::showSearchResults(const FileSystemArray& results) {
    mSearchModel->setFiles(results);
}

void ContentsPanel::setSearchText(const std::string& text) {
    mField->setText(qtText(text));
}

void ContentsPanel::searchPanelDidChangeSearching(bool searching) {
    mSearchView->setCursor(searching ? Qt::BusyCursor : Qt::ArrowCursor);
}

void ContentsPanel::searchPanelDidChangeHasQuery(bool hasQuery) {
    if (hasQuery && mProxy->activeType() != ActiveControllerType::search) {
        mListBeforeSearch = mProxy->activeType();
        showList(ActiveControllerType::search);
    } else if (!hasQuery && mProxy->activeType() == ActiveControllerType::search) {
        showList(mListBeforeSearch);
    }
}

// Tab or Escape in the field: the focus moves on to the next control.
void ContentsPanel::searchPanelResignFocus() {
    for (QWidget* next = mField->nextInFocusChain(); next != mField;
         next = next->nextInFocusChain()) {
        if (next->isVisible() && next->isEnabled() && (next->focusPolicy() & Qt::TabFocus)) {
            next->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

void ContentsPanel::selectionChanged() {
    const ItemList selected = selectedItems();
    showDetails(selected);
    if (mDelegate != nullptr) {
        mDelegate->contentsPanelSelectionChanged(selected);
    }
}

void ContentsPanel::showDetails(const ItemList& selected) {
    std::optional<LockMessage> locked;
    if (selected.size() == 1) {
        locked = lockMessageFor(selectionAvailability(*selected.front()));
    }
    const bool liftable = locked && locked->settingsButtonTitle;
    mPreferencesButton->setText(liftable ? qtText(*locked->settingsButtonTitle) : QString());
    mPreferencesButton->setVisible(liftable);
    if (selected.empty()) {
        namespace texts = VolumeContentContainerLocalizable;
        mDetails->setText(
            qtText(platform::localized(texts::kTable, texts::kSelectItemToReview)).toHtmlEscaped());
    } else if (selected.size() == 1) {
        const FileSystemItem& item = *selected.front();
        QString lock = detailsHtml(item);
        mDetails->setText(
            QStringLiteral("<b>%1</b> %2<br>%3")
                .arg(qtText(item.name()).toHtmlEscaped(), sizeText(item.itemSize()), lock));
    } else {
        // A row inside a selected folder is already in the folder's figures.
        std::unordered_set<const FileSystemItem*> chosen;
        for (const ItemRef& item : selected) {
            chosen.insert(item.get());
        }
        std::int64_t total = 0;
        int count = 0;
        for (const ItemRef& item : selected) {
            const FileSystemItem* above = item->getParent();
            while (above != nullptr && chosen.count(above) == 0) {
                above = above->getParent();
            }
            if (above == nullptr) {
                total += item->itemSize();
                ++count;
            }
        }
        mDetails->setText((count == 1 ? tr("1 item") : tr("%L1 items").arg(count)) +
                          QStringLiteral(" ") + sizeText(total));
    }
}

void ContentsPanel::rowMenu(const ItemRef& node, const QPoint& globalPos) {
    if (mDelegate != nullptr && node != nullptr) {
        mDelegate->contentsPanelRowMenu(node, globalPos);
    }
}

QString ContentsPanel::detailsText() const {
    return mDetails->text();
}

}  // namespace korvex
