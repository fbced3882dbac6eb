#pragma once

#include "browse/preview/PreviewWindow.h"

#include <QObject>
#include <QPointer>

#include <memory>
#include <optional>
#include <string>
#include <vector>

class QKeyEvent;

namespace korvex {

namespace platform {
class DesktopPreviewer;
class FileManagerService;
}  // namespace platform

// Feeds the preview with the items the user points at. The desktop's own
// previewer is used when one answers on the bus; otherwise the built-in
// preview window, which offers the default application for anything it can
// only describe.
class PreviewController : public QObject {
    Q_OBJECT
  public:
    explicit PreviewController(QObject* parent = nullptr);
    ~PreviewController() override;

    // Made on first use, owned by the application object.
    static PreviewController& sharedPreviewController();
    // Whether the shared controller's preview window exists and is shown.
    static bool isVisible();

    const std::vector<std::string>& items() const { return mItems; }
    void setPreviewItem(const std::string& path);
    // Replaces the items and shows the first of them if the preview is open.
    void setPreviewItems(std::vector<std::string> paths);

    void showPreviewPanel();
    void closePreviewPanel();
    bool panelVisible() const;

    int numberOfPreviewItems() const { return static_cast<int>(mItems.size()); }
    std::optional<std::string> previewItemAtIndex(int index) const;
    int currentPreviewItemIndex() const { return mCurrent; }

    // Key presses reaching the preview go to the focus widget of this window
    // (the list behind the preview) and count as handled.
    void setMainWindow(QWidget* window) { mMainWindow = window; }
    bool handleEvent(QKeyEvent* event);

    // The built-in window while it is in use, else none.
    PreviewWindow* previewPanel() const { return mPanel; }

    // None: always the built-in preview (as in tests and on desktops without one).
    void setDesktopPreviewer(platform::DesktopPreviewer* previewer) {
        mDesktopPreviewer = previewer;
    }
    // None: the session's service.
    void setFileManagerService(platform::FileManagerService* service) { mFileManager = service; }
    void setSizeProvider(PreviewWindow::SizeProvider provider);

  private:
    void reloadPanel();
    void showInBuiltInPanel();
    bool showInDesktopPreviewer();
    PreviewWindow& ensurePanel();
    void moveBy(int step);

    std::vector<std::string> mItems;
    int mCurrent = 0;
    QPointer<PreviewWindow> mPanel;
    QPointer<QWidget> mMainWindow;
    platform::DesktopPreviewer* mDesktopPreviewer = nullptr;
    platform::FileManagerService* mFileManager = nullptr;
    PreviewWindow::SizeProvider mSizeProvider;
    bool mDesktopPreviewShown = false;
    // The session bus's previewer of the shared controller.
    std::unique_ptr<platform::DesktopPreviewer> mSessionPreviewer;
};

}  // namespace korvex
