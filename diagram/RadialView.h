#pragma once

#include "diagram/RadialController.h"

#include <QWidget>

#include <memory>
#include <optional>
#include <vector>

class QMenu;
class QTimer;

namespace korvex {

class DiagramContextMenuController;
class DiagramHintPanel;
class DiagramOverlayView;
class RadialSectorAccessibilityElement;

// The widget the sunburst lives in. It paints through its controller, hands
// it the mouse and the keys, shows the hint beside the pointer, opens the
// context menu and publishes the sectors to assistive technologies.
class RadialView : public QWidget {
    Q_OBJECT
  public:
    explicit RadialView(RadialController& controller, QWidget* parent = nullptr);
    ~RadialView() override;

    RadialController& controller() const { return mController; }
    // Whether a sector may be dragged out as a file: not while the tree is
    // read from a file, whose paths may name other files here.
    void setFileDragsEnabled(bool enabled) { mFileDragsEnabled = enabled; }
    bool fileDragsEnabled() const { return mFileDragsEnabled; }
    DiagramOverlayView& overlay() const { return *mOverlay; }
    DiagramHintPanel& hintPanel() const { return *mHint; }
    DiagramContextMenuController& menuController() const { return *mMenuController; }
    // Pointer moves are followed only once the window is set up.
    void setEnableMouseEvents(bool enable) { _enableMouseEvents = enable; }
    // Built on first request and kept until the diagram shows something else.
    const std::vector<RadialSectorAccessibilityElement*>& accessibilityElements();
    void invalidateAccessibilityElements();
    // The menu of the sector under `point`, validated; the caller runs it.
    std::unique_ptr<QMenu> contextMenuAt(QPointF point);
    bool dragRemovable() const { return m_bDragRemovable; }
    // Re-evaluates the pointer at `point` and shows or hides the hint.
    void operateMouseMove(QPointF point);
    // A node highlighted in the lists (nothing clears it): its sector is
    // outlined as if pointed at, and the hint shows at its rightmost point.
    void highlightListItem(const ItemRef& node);
    // Qt tells of no live resize: a burst of resize events, each within a
    // moment of the last, counts as one.
    bool isLiveResizing() const { return mController.isLiveResizing(); }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void updateHint(QPoint globalPoint);
    void viewWillStartLiveResize();
    void viewDidEndLiveResize();
    void dropAccessibilityElements();
    bool runFileDrag(const DragFileInfo& info);
    struct LayoutKey {
        const void* root = nullptr;
        const void* target = nullptr;
        std::int64_t total = 0;
        int rings = 0;
        QRectF circle;
        bool operator==(const LayoutKey&) const = default;
    };
    LayoutKey currentLayout() const;

    RadialController& mController;
    DiagramOverlayView* mOverlay;
    DiagramHintPanel* mHint;
    std::unique_ptr<DiagramContextMenuController> mMenuController;
    bool mFileDragsEnabled = true;
    bool m_bDragRemovable = false;
    bool _enableMouseEvents = true;
    std::vector<RadialSectorAccessibilityElement*> m_accessibilityElements;
    bool mAccessibilityBuilt = false;
    LayoutKey mAccessibilityLayout;
    QTimer* mLiveResizeEnd;
    std::optional<QPointF> mLastPointer;  // while the pointer is over the view
};

}  // namespace korvex
