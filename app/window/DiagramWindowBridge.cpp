#include "app/window/DiagramWindowBridge.h"

#include "app/window/CSTreeController.h"
#include "scan/tree/SpecialSystemItem.h"

#include <QMessageBox>

namespace korvex {

namespace {

constexpr const char* kInaccessibleHelp =
    "Some folders could not be read, so their size is unknown. The space they take is shown as "
    "inaccessible space: it is part of the disk's occupied space that the scan could not "
    "account for. Grant access to those folders (or run the scan as their owner) and scan "
    "again to see what they hold.";

}  // namespace

DiagramWindowBridge::DiagramWindowBridge(CSTreeController& controller, QWidget* window)
    : mController(controller), mWindow(window) {}

void DiagramWindowBridge::revealItem(const FileSystemItem& item) {
    mController.itemCommands().reveal({item.getFullPath()});
}

void DiagramWindowBridge::showItemProperties(const FileSystemItem& item) {
    mController.itemCommands().showProperties({item.getFullPath()});
}

void DiagramWindowBridge::previewItem(const FileSystemItem& item) {
    mController.itemCommands().preview({item.getFullPath()});
}

void DiagramWindowBridge::rescanSelectedTarget() {
    mController.stopAction();
    mController.startAction();
}

bool DiagramWindowBridge::isScanning() const {
    return mController.isProcessing();
}

std::int64_t DiagramWindowBridge::scanningState() const {
    return mController.scanningStateObserver().state();
}

bool DiagramWindowBridge::isReviewWindowVisible() const {
    return mController.collection().isReviewWindowVisible();
}

bool DiagramWindowBridge::hintAllowed() const {
    return mWindow != nullptr && mWindow->isActiveWindow();
}

void DiagramWindowBridge::freeUpPurgeableSpace(FileSystemItem& item) {
    if (item.isPurgeable()) {
        mController.purgeableSpaceCleaner().freeUpPurgeableSpace(
            static_cast<SpecialSystemItem*>(&item));
    }
}

bool DiagramWindowBridge::isFolderFavorite(const std::string& path) const {
    return mController.folderFiling().isFolderAtPathInFavorite(path);
}

void DiagramWindowBridge::setFolderFavorite(const std::string& path, bool favorite) {
    if (favorite) {
        mController.folderFiling().addToFavoriteFolderWithPath(path);
    } else {
        mController.folderFiling().removeFolderFromFavoriteWithPath(path);
    }
}

void DiagramWindowBridge::readAboutInaccessibleSpace() {
    auto* box = new QMessageBox(QMessageBox::Information, QObject::tr("Inaccessible space"),
                                QObject::tr(kInaccessibleHelp), QMessageBox::Ok, mWindow);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

}  // namespace korvex
