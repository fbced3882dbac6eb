#include "cleanup/collection/views/CollectionWindowViews.h"

#include "app/toolkit/Alert.h"
#include "cleanup/collection/views/CollectionPanel.h"
#include "cleanup/collection/views/RemoveListSheet.h"
#include "platform/Localization.h"
#include "platform/UserFolders.h"
#include "platform/desktop/FileManagerService.h"

#include <QFile>
#include <QFileDialog>
#include <QMessageBox>

namespace korvex {

CollectionWindowViews::CollectionWindowViews(QWidget* window, CollectionPanel* panel)
    : mWindow(window), mPanel(panel) {}

CollectionWindowViews::~CollectionWindowViews() = default;

RemoveListSheet* CollectionWindowViews::reviewSheet() const {
    return mSheet.data();
}

void CollectionWindowViews::showCollectionAlert(const std::string& message,
                                                const std::string& informative, bool suppressible,
                                                std::function<void(bool)> answer) {
    if (!mWindow) {
        answer(false);
        return;
    }
    AlertText text;
    text.message = QString::fromStdString(message);
    text.informative = QFile::decodeName(QByteArray::fromStdString(informative));
    text.buttons = {QObject::tr("OK")};
    text.suppression = suppressible;
    mAlert = showAlert(mWindow, text,
                       [answer = std::move(answer)](int, bool suppress) { answer(suppress); });
}

void CollectionWindowViews::chooseDestinationFolder(
    CollectionAction action, std::function<void(std::optional<std::string>)> answer) {
    if (action == CollectionAction::remove) {
        answer(std::nullopt);
        return;
    }
    if (mFolderChooser)
        mFolderChooser(action, std::move(answer));
    else
        openFolderPanel(action, std::move(answer));
}

void CollectionWindowViews::openFolderPanel(
    CollectionAction action, std::function<void(std::optional<std::string>)> answer) {
    if (!mWindow) {
        answer(std::nullopt);
        return;
    }
    auto* panel = new QFileDialog(mWindow, action == CollectionAction::move
                                               ? QObject::tr("Select a folder to move files to")
                                               : QObject::tr("Select folder to copy files"));
    panel->setAttribute(Qt::WA_DeleteOnClose);
    panel->setWindowModality(Qt::WindowModal);
    panel->setFileMode(QFileDialog::Directory);
    panel->setOption(QFileDialog::ShowDirsOnly);
    panel->setLabelText(QFileDialog::Accept, QObject::tr("Select"));
    auto answered = std::make_shared<bool>(false);
    QObject::connect(panel, &QFileDialog::fileSelected, panel,
                     [answer, answered](const QString& folder) {
                         *answered = true;
                         answer(QFile::encodeName(folder).toStdString());
                     });
    QObject::connect(panel, &QFileDialog::finished, panel, [answer, answered](int) {
        if (!std::exchange(*answered, true))
            answer(std::nullopt);
    });
    panel->open();
}

void CollectionWindowViews::showFolderIsCollectedAlert(CollectionAction action,
                                                       const std::string& folder,
                                                       std::function<void(bool)> answer) {
    if (!mWindow) {
        answer(false);
        return;
    }
    const bool move = action == CollectionAction::move;
    const char* informative =
        move ? "The selected items could not be moved to the chosen folder because the folder "
               "\"%@\" is added to the Selected list.\nChoose another folder to move the "
               "selected items."
             : "The selected items could not be copied to the chosen folder because the folder "
               "\"%@\" is added to the Selected list.\nChoose another folder to copy the "
               "selected items.";
    AlertText text;
    text.message = move ? QObject::tr("Cannot move to the chosen folder")
                        : QObject::tr("Cannot copy to the chosen folder");
    text.informative = QFile::decodeName(
        QByteArray::fromStdString(platform::fillPlaceholders(informative, {folder})));
    text.buttons = {QObject::tr("Choose another folder"), QObject::tr("Cancel")};
    mAlert = showAlert(mWindow, text,
                       [answer = std::move(answer)](int button, bool) { answer(button == 0); });
}

void CollectionWindowViews::showReviewSheet(const std::shared_ptr<OperationsManager>& manager,
                                            ActionTypeMenuController& chooser,
                                            std::function<void()> dismissed) {
    auto presenter = RemoveListPresenter::create(manager, chooser, std::move(dismissed));
    mPresenter = presenter;
    auto* sheet = new RemoveListSheet(presenter, mWindow);
    mSheet = sheet;
    QPointer<RemoveListSheet> shown(sheet);
    sheet->setTrashOpener([this, shown] {
        const bool opened =
            mTrashOpener ? mTrashOpener()
                         : platform::FileManagerService::openWithDesktopHandler(
                               platform::UserFolders::current().trash() + "/files");
        if (!opened && shown) {
            QMessageBox::information(shown, QObject::tr("Show Trash"),
                                     QObject::tr("No application could open the Trash."));
        }
    });
    sheet->open();
}

bool CollectionWindowViews::isReviewSheetVisible() const {
    const RemoveListSheet* sheet = mSheet.data();
    return sheet != nullptr && sheet->isVisible();
}

void CollectionWindowViews::startReviewSheetOperation() {
    if (auto presenter = mPresenter.lock())
        presenter->startOperation();
}

void CollectionWindowViews::collectionViewStateChanged(const CollectionViewState& state) {
    if (mPanel)
        mPanel->showState(state);
}

}  // namespace korvex
