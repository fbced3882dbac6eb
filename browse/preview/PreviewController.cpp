#include "browse/preview/PreviewController.h"

#include "platform/desktop/DesktopPreviewer.h"
#include "platform/desktop/FileManagerService.h"

#include <QApplication>
#include <QKeyEvent>

namespace korvex {

namespace {

QPointer<PreviewController>& sharedSlot() {
    static QPointer<PreviewController> shared;
    return shared;
}

// Run while the application object still stands: a preview window deleted
// with the application's children, after its platform was torn down,
// crashed at exit, and so did a bus connection left to static destruction.
void deleteShared() {
    delete sharedSlot().data();
}

}  // namespace

PreviewController::PreviewController(QObject* parent) : QObject(parent) {}

PreviewController::~PreviewController() {
    delete mPanel.data();
}

PreviewController& PreviewController::sharedPreviewController() {
    auto& shared = sharedSlot();
    if (shared.isNull()) {
        auto* made = new PreviewController(QCoreApplication::instance());
        made->mSessionPreviewer = std::make_unique<platform::DesktopPreviewer>();
        made->setDesktopPreviewer(made->mSessionPreviewer.get());
        shared = made;
        qAddPostRoutine(deleteShared);
    }
    return *shared;
}

bool PreviewController::isVisible() {
    const auto& shared = sharedSlot();
    return !shared.isNull() && shared->panelVisible();
}

bool PreviewController::panelVisible() const {
    const PreviewWindow* panel = mPanel.data();
    return panel != nullptr && panel->isVisible();
}

void PreviewController::setPreviewItem(const std::string& path) {
    setPreviewItems({path});
}

void PreviewController::setPreviewItems(std::vector<std::string> paths) {
    mItems = std::move(paths);
    mCurrent = 0;
    reloadPanel();
}

std::optional<std::string> PreviewController::previewItemAtIndex(int index) const {
    if (index < 0 || index >= numberOfPreviewItems()) {
        return std::nullopt;
    }
    return mItems[static_cast<std::size_t>(index)];
}

void PreviewController::showPreviewPanel() {
    if (mItems.empty()) {
        return;
    }
    if (showInDesktopPreviewer()) {
        return;
    }
    showInBuiltInPanel();
}

void PreviewController::closePreviewPanel() {
    if (mDesktopPreviewShown && mDesktopPreviewer != nullptr) {
        mDesktopPreviewer->close();
        mDesktopPreviewShown = false;
    }
    if (panelVisible()) {
        mPanel->hide();
        // The window the preview was opened from takes the keys again.
        if (!mMainWindow.isNull()) {
            mMainWindow->window()->activateWindow();
        }
    }
}

bool PreviewController::handleEvent(QKeyEvent* event) {
    if (event == nullptr || event->type() != QEvent::KeyPress) {
        return false;
    }
    QWidget* target = nullptr;
    if (!mMainWindow.isNull()) {
        target =
            mMainWindow->focusWidget() != nullptr ? mMainWindow->focusWidget() : mMainWindow.data();
    }
    if (target != nullptr) {
        QKeyEvent copy(event->type(), event->key(), event->modifiers(), event->nativeScanCode(),
                       event->nativeVirtualKey(), event->nativeModifiers(), event->text(),
                       event->isAutoRepeat(), static_cast<quint16>(event->count()));
        QApplication::sendEvent(target, &copy);
    }
    return true;
}

void PreviewController::setSizeProvider(PreviewWindow::SizeProvider provider) {
    mSizeProvider = std::move(provider);
    if (!mPanel.isNull()) {
        mPanel->setSizeProvider(mSizeProvider);
    }
}

void PreviewController::reloadPanel() {
    if (mItems.empty()) {
        closePreviewPanel();
        return;
    }
    if (mDesktopPreviewShown) {
        showInDesktopPreviewer();
    } else if (panelVisible()) {
        showInBuiltInPanel();
    }
}

bool PreviewController::showInDesktopPreviewer() {
    if (mDesktopPreviewer == nullptr) {
        return false;
    }
    const auto& path = mItems[static_cast<std::size_t>(mCurrent)];
    quint32 handle = 0;
    if (!mMainWindow.isNull() && mMainWindow->window()->windowHandle() != nullptr) {
        handle = static_cast<quint32>(mMainWindow->window()->winId());
    }
    QPointer<PreviewController> self(this);
    const bool sent = mDesktopPreviewer->showFile(path, handle, [self] {
        // The previewer was there but refused: show it ourselves.
        if (PreviewController* controller = self.data(); controller != nullptr) {
            controller->mDesktopPreviewShown = false;
            controller->showInBuiltInPanel();
        }
    });
    mDesktopPreviewShown = sent;
    if (sent && panelVisible()) {
        mPanel->hide();
    }
    return sent;
}

void PreviewController::showInBuiltInPanel() {
    if (mItems.empty()) {
        return;
    }
    PreviewWindow& panel = ensurePanel();
    panel.setPosition(mCurrent, numberOfPreviewItems());
    panel.showPath(mItems[static_cast<std::size_t>(mCurrent)]);
    if (!panel.isVisible()) {
        panel.show();
    }
    panel.raise();
    // The keys go to the preview: Escape or Space closes it, arrows move on.
    panel.activateWindow();
    panel.setFocus(Qt::ActiveWindowFocusReason);
}

PreviewWindow& PreviewController::ensurePanel() {
    if (PreviewWindow* existing = mPanel.data(); existing != nullptr) {
        return *existing;
    }
    QWidget* owner = mMainWindow.isNull() ? nullptr : mMainWindow->window();
    auto* panel = new PreviewWindow(owner);
    panel->setSizeProvider(mSizeProvider);
    panel->setKeyHandler([this](QKeyEvent* event) { return handleEvent(event); });
    connect(panel, &PreviewWindow::closeRequested, this, &PreviewController::closePreviewPanel);
    connect(panel, &PreviewWindow::previousRequested, this, [this] { moveBy(-1); });
    connect(panel, &PreviewWindow::nextRequested, this, [this] { moveBy(1); });
    connect(panel, &PreviewWindow::openRequested, this, [this](const std::string& path) {
        // The session's file manager service is only reached when needed.
        auto& service =
            mFileManager != nullptr ? *mFileManager : platform::FileManagerService::shared();
        service.openWithDefaultApplication(path);
    });
    mPanel = panel;
    return *panel;
}

void PreviewController::moveBy(int step) {
    const int next = mCurrent + step;
    if (next < 0 || next >= numberOfPreviewItems()) {
        return;
    }
    mCurrent = next;
    showInBuiltInPanel();
}

}  // namespace korvex
