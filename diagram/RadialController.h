#pragma once

#include "diagram/AnimController.h"
#include "diagram/CachedPicture.h"
#include "diagram/DiagramAnimation.h"
#include "diagram/DiagramCollectionActions.h"
#include "diagram/DiagramHost.h"
#include "diagram/DiagramShadow.h"
#include "diagram/RingRaster.h"
#include "diagram/SectorItem.h"
#include "scan/targets/TopLevelItem.h"
#include "scan/tree/FolderSystemItem.h"

#include <QColor>
#include <QPainterPath>
#include <QPointF>
#include <QRectF>
#include <Qt>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QPainter;
class QTimer;

namespace korvex {

// What the floating hint shows for the pointed sector.
struct HintContent {
    std::string title;
    std::string sizeText;
    std::string path;
    std::string caption;
    std::string note;  // denied, hard link or purgeable cache; empty when none
};

// One drawn sector as assistive technologies see it.
struct SectorAccessibility {
    std::string label;
    std::string value;
    QRectF bounds;
    std::string identifier;
};

// The payload of a file drag started on a sector.
struct DragFileInfo {
    std::string text;
    bool removable = false;
    QRectF from;
};

// Lays out and draws the sunburst of the tree below one node, the diagram
// root: a disc in the centre, then one ring per level, each sector's angle
// proportional to its node's size. Angles are fractions of the circle, 0 at
// 12 o'clock and growing clockwise. Main thread only, like every change of
// the tree, so the drawing needs no lock.
class RadialController {
  public:
    RadialController();
    ~RadialController();
    RadialController(const RadialController&) = delete;
    RadialController& operator=(const RadialController&) = delete;

    // ---- Frame and root
    void initRadialParameters(const QRectF& bounds);
    // A scanned node (normally a folder) as the root; with `withRedraw` the
    // view and the outlines are drawn again a moment later, once the lists
    // beside it have followed.
    void setRoot(ItemRef root, bool setAnyway = false, bool withRedraw = true);
    // A scan target: its scanned root when it has one, else the target itself.
    void setRoot(std::shared_ptr<TopLevelItem> target);
    // The target being scanned now (empty when idle): its diagram grows live.
    void setScanningPath(std::string path);
    // A volume went away: a root on it is dropped, so nothing of it is drawn.
    void volumeWasRemoved(const std::string& volumePath);
    void ReinitRootParams();
    void initCountOfSublevels();
    // While the root is being scanned: keeps the scale and rings in step.
    void UpdateRadialStructureDuringProcessByRoot(const FileSystemItem* node);

    // ---- Geometry
    int getMaxVisibleSublevelByMaxSizes(const std::int64_t* maxSizes) const;
    int getMaxVisibleSublevelOfItem(const FileSystemItem& node, int level) const;
    bool CanDrawItem(const FileSystemItem& node, int level) const;
    // The outline of a sector of ring `level` from `start` over `delta`; false
    // (path untouched) when delta is not a number.
    bool FillSectorPath(QPainterPath& path, int level, double start, double delta,
                        double lineWidth) const;
    std::int64_t getPrevSizesOfItem(const FileSystemItem* node, const FileSystemItem* stop) const;
    double angleForItem(const FileSystemItem* node) const;
    bool fillSectorItem(SectorItem& sector, FileSystemItem* node) const;
    QRectF getBoundsOfItem(const SectorItem& sector) const;
    QRectF getCircleBoundRect() const;
    std::int64_t getUnscannedScanningVolumeSize() const;
    double radiusOf(int level) const;

    // ---- Drawing
    void DrawRadialSructure(QPainter& painter, const QRectF& dirty);

    // ---- Animations
    // Shows or hides a scanned volume's free space, animated over 0.2 s.
    void setDrawFreeSector();
    // The root is a scanned volume with free space worth showing.
    bool canSwitchFreeSector() const;
    void updateFreeSectorAnimationValue(double value);
    void stopFreeSectorAnimation();
    // Cut items about to leave the tree (from the removal update) and cut
    // items growing in (from the addition update), for the next cut animation.
    void updateDiagramAfterRemovingItems(const ItemList& items);
    void updateDiagramAfterAddingItems(const ItemList& items);
    // Shrinks the removing items away and grows the adding ones in, over 1 s;
    // input waits while it runs.
    void startCutAnimation();
    void updateCutAnimationValue(double value);
    void stopCutAnimation();
    // Any animation that holds pointer input: free space, cuts, zoom.
    bool isAnimating() const;
    // A node put into the removal collection while on screen leaves the
    // diagram at once: its cut item takes its place at size 0.
    ItemRef getCutItemForItemToCollection(FileSystemItem* item);

    // ---- Pointing (hit test, tracking, hint)
    // The sector under a point in view coordinates; empty for nothing.
    SectorItem getItemByPoint(QPointF point) const;
    // Fraction of the circle of a point, after the rotation.
    double fractionOfPoint(QPointF point) const;
    // Moves the pointed sector to the one under the point; answers whether
    // the outline changed, with the area to repaint.
    bool OperateMousePoint(QPointF point, QRectF& dirty);
    // The pointer left the view: the pointed sector is dropped.
    bool OperateMouseExit(QRectF& dirty);
    const SectorItem& pointedSector() const { return m_pCurPointedSector; }
    // Nothing for no pointed sector.
    std::optional<HintContent> hintForSector(const SectorItem& sector) const;
    // The point of a node's sector furthest to the right, for a hint beside it.
    std::optional<QPointF> getRightPointerOfItemSector(FileSystemItem* node) const;
    // The pointed node, nothing for the markers.
    ItemRef pointedItem() const { return m_pCurPointedSector.m_pItem; }

    // ---- Outlines drawn over the diagram
    void DrawFocusItem(QPainter& painter);
    void DrawSelectedItem(QPainter& painter);
    // The sectors of the nodes selected in the side lists.
    void selectItems(const ItemList& items);
    const std::vector<SectorItem>& selectedSectors() const { return mSelectedSectors; }
    // A node highlighted in a list becomes the pointed sector, except while
    // the view is being resized.
    void setHiliteOnRadial(const ItemRef& node);
    const ItemRef& highlightedItem() const { return _highlightedFileSystemItem; }
    void setLiveResizing(bool resizing) { _isLiveResizing = resizing; }
    bool isLiveResizing() const { return _isLiveResizing; }

    // ---- Mouse
    void LMouseDown(QPointF point);
    // Answers true when the drag rotated the diagram.
    bool LMouseDragged(QPointF point);
    // Answers whether the pointer must be re-evaluated.
    bool LMouseClick(QPointF point, Qt::KeyboardModifiers modifiers);
    // Starts a file drag for the sector under the point, through the handler.
    bool dragFromDiagramByPoint(QPointF point);
    std::optional<DragFileInfo> getDragFileInfoByPoint(QPointF point) const;
    // Runs the platform's drag; answers whether one started.
    void setFileDragHandler(std::function<bool(const DragFileInfo&)> handler) {
        mFileDrag = std::move(handler);
    }
    bool wasDragging() const { return m_bWasDragging; }
    // The reference angle of every diagram, in radians (π/2 unrotated).
    static double referenceAngle();
    static void setReferenceAngle(double radians);

    // ---- Zoom
    void startDrillInAnimation(const ItemRef& node, int level, double start);
    void startDrillInAnumation(const ItemRef& node);
    void startDrillOutAnimation(const ItemRef& target);
    void updateDrillAnimationValue(double value);
    void stopDrillAnimation();
    int drillState() const { return m_nDrillAnimating; }
    // Zooms into the sector's folder; zooms out to an ancestor.
    void goTo(const SectorItem& sector);
    void moveUpTo(const ItemRef& node);

    // ---- Commands on nodes
    std::string copyTextForItem(const FileSystemItem* node) const;
    // The pointed node, else the first selected one, else the root.
    ItemRef itemForCopy() const;
    void copyFilePathForItem(const FileSystemItem* node) const;
    bool canObjectBeCollected(const FileSystemItem& node) const;
    bool isCollectedOrUnderCollected(const FileSystemItem& node) const;
    void selectDeselectCurrentPointedSector();
    ItemList itemsToChangeSelection() const;
    bool isAllItemsSelectedInArray(const ItemList& items) const;
    // Puts the lists' selection into the collection or takes it out.
    void moveToCollection();
    void setHost(DiagramHost* host) { mHost = host; }
    DiagramHost* host() const { return mHost; }
    void setCollectionActions(DiagramCollectionActions* actions) { mCollection = actions; }
    DiagramCollectionActions* collectionActions() const { return mCollection; }

    // ---- Accessibility
    std::vector<SectorAccessibility> buildAccessibilityElements() const;

    // ---- What the view and the side lists are told
    void setNeedsDisplayHandler(std::function<void()> handler) {
        mNeedsDisplay = std::move(handler);
    }
    // A scanned or scanning root casts a shadow; an unscanned target, never
    // the root once it has a scan, does not.
    bool showsDropShadow() const { return m_pRoot != nullptr; }
    const DiagramShadow& dropShadow() const { return mShadow; }
    const RingRaster& rings() const { return mRaster; }
    // How opaque the panel behind the diagram should be: clear while the
    // root being scanned is shown, so the diagram grows on the bare window.
    void setBackgroundPanelHandler(std::function<void(double)> handler);
    // The side lists take the diagram root again after the tree changed.
    void setListsRootHandler(std::function<void(const ItemRef&)> handler) {
        mListsRoot = std::move(handler);
    }
    // The entries of an unscanned folder, none of them scanned yet: the hint
    // of its occupied area tells their number. Nothing when unknown.
    using UnscannedItemsCounter = std::function<std::optional<std::int64_t>(const std::string&)>;
    void setUnscannedItemsCounter(UnscannedItemsCounter counter) {
        mUnscannedItems = std::move(counter);
    }
    // A colour of its own for ordinary sectors (the node; null for the
    // folded small items), in place of the hue of their place; nothing keeps
    // the usual colour. An empty function ends the tinting.
    using SectorTint = std::function<std::optional<QColor>(const FileSystemItem*)>;
    void setSectorTint(SectorTint tint) { mSectorTint = std::move(tint); }
    bool isTinted() const { return static_cast<bool>(mSectorTint); }
    // A line the hint of a node adds below its own note; empty adds none.
    using HintAddition = std::function<std::string(const FileSystemItem&)>;
    void setHintAddition(HintAddition addition) { mHintAddition = std::move(addition); }

    // The root changed (another folder or target): a hint beside the pointer
    // speaks of what is no longer shown.
    void setRootChangedHandler(std::function<void()> handler) { mRootChanged = std::move(handler); }
    // The overlay repaints this area (outlines moved).
    void setOverlayHandler(std::function<void(const QRectF&)> handler) {
        mOverlayNeedsDisplay = std::move(handler);
    }

    // ---- State
    QPointF center() const { return m_Center; }
    double fullRadius() const { return m_fullRadius; }
    int subLevels() const { return m_nSubLevels; }
    std::int64_t totalSize() const { return m_lTotalSize; }
    const ItemRef& root() const { return m_pRoot; }
    const std::shared_ptr<TopLevelItem>& unscannedTarget() const { return mTarget; }
    bool drawsFreeSector() const { return m_bDrawFreeSector; }
    double fullRatio() const { return m_dFullRatio; }
    AnimController& animController() { return m_pAnimController; }
    bool isRootBeingScanned() const;
    void setDrawAlpha(double alpha) { m_fDrawAlpha = alpha; }

    // ---- Ring colour tables: a new maximum rebuilds them (the minimum keeps
    // its distance below the maximum); the E forms only store the values.
    void setSaturation(double max);
    void setBrightness(double max);
    void setSaturationE(double max, double delta);
    void setBrightnessE(double max, double delta);

  private:
    // The walk over the tree lays ordinary sectors into the ring raster and
    // keeps the few painted ones (occupied and free space) for after it.
    double DrawChildrenOf(FileSystemItem& node, int level, double start, bool collected,
                          bool hidden, bool trash);
    double DrawSpecialChildrenOf(FileSystemItem& node, int level, double start,
                                 std::size_t startIndex);
    bool DrawItemWithSubLevel(int level, double start, double delta, int colorFlag,
                              const FileSystemItem* node = nullptr);
    void DrawPaintedSectors(QPainter& painter);
    bool DrawOccupiedSector(QPainter& painter, int level, double start, double delta,
                            bool drawLine);
    bool DrawFreeSector(QPainter& painter, int level, double start, double delta);
    void DrawNotScannedSectors();
    void DrawRoot(QPainter& painter);
    // The centre disc of a node of radius r, kept in `cache` between paints.
    void DrawRootDisc(QPainter& painter, const FileSystemItem* node, double r, double alpha,
                      CachedPicture& cache) const;
    void DrawRootLabel(QPainter& painter);
    // The name centred in a disc of radius r, fitted to its width.
    void DrawDiscLabel(QPainter& painter, const FileSystemItem* node, const std::string& name,
                       double r, bool scanning, double alpha) const;
    QPointF pointAt(double radius, double fraction) const;
    SectorItem getItemByPointInNotScannedVolume(double q, double t) const;
    SectorItem getItemBySublevel(int level, double t) const;
    std::optional<HintContent> hintForNode(const FileSystemItem& node) const;
    QColor focusFillFor(const SectorItem& sector, double span) const;
    // The widest halo under an outline, and how far past a sector's bounds
    // an outline paints (half the halo's stroke and its outline, rounded up).
    static constexpr double kFocusHalo = 10.0;
    static constexpr double kOutlineReach = 8.0;
    void overlayNeedsDisplay(const QRectF& area) const;
    void drawDrillAnimation(QPainter& painter, const QRectF& dirty);
    void drawDrillSubtree(FileSystemItem& node, int ring, double start, double p);
    void DrawDrillingRoot(QPainter& painter, double p);
    double drillOuterRadius(int ring) const;
    double drillInnerRadius(int ring) const;
    void finishDrill();
    void abandonDrill();
    void rootChanged();
    void appendArc(QPainterPath& path, double radius, double from, double to) const;
    // The closed outline of a ring's piece between two radii.
    void appendRingSector(QPainterPath& path, double inner, double outer, double start,
                          double span) const;
    std::string rootPath() const;
    bool rootIsUnscannedVolume() const;
    bool rootIsUnscannedFolder() const;
    void needsDisplay() const;
    // One redraw 0.1 s from now on the main loop; asking again restarts it.
    void redrawLater();
    // Under the figure of a scanned or scanning root: its drop shadow.
    void drawDropShadow(QPainter& painter);
    void updateBackgroundPanel();
    // Moves one cut item's coefficient and its parent's total with it.
    static void setCoefficient(FileSystemItem& item, double koef);

    QPointF m_Center;
    double m_fullRadius = 0;
    int m_nSubLevels = 0;
    ItemRef m_pRoot;
    std::shared_ptr<TopLevelItem> mTarget;  // an unscanned target shown as the root
    SectorItem m_pCurPointedSector;
    std::int64_t m_lTotalSize = 0;
    double m_dFullRatio = 1.0;
    bool m_bDrawFreeSector = false;
    AnimController m_pAnimController;
    double m_fDrawAlpha = 1.0;
    RingRaster mRaster;
    CachedPicture mRootDisc;  // the disc is drawn again only when its inputs change
    DiagramShadow mShadow;
    struct PaintedSector {
        int level;
        double start;
        double delta;
        int colorFlag;
    };
    std::vector<PaintedSector> mPaintedSectors;
    double mfSaturationMin = 0.9, mfSaturationMax = 1.0, mfSaturationDelta = 0.1;
    double mfBrightnessMin = 1.0, mfBrightnessMax = 1.0, mfBrightnessDelta = 0.0;
    std::string mScanningPath;
    ItemList m_pRemovingItems;
    ItemList m_pAddingItems;
    DiagramAnimation mFreeSectorAnimation;
    DiagramAnimation mCutAnimation;
    std::function<void()> mNeedsDisplay;
    std::function<void(double)> mBackgroundPanel;
    std::function<void(const ItemRef&)> mListsRoot;
    std::function<void(const QRectF&)> mOverlayNeedsDisplay;
    std::function<void()> mRootChanged;
    std::function<bool(const DragFileInfo&)> mFileDrag;
    UnscannedItemsCounter mUnscannedItems;
    SectorTint mSectorTint;
    HintAddition mHintAddition;
    std::unique_ptr<QTimer> mLaterRedraw;  // made on first use

    // Pointer and zoom state.
    QPointF mPrevMouse;
    bool m_bWasDragging = false;
    bool mFirstDragOfPress = false;
    DiagramAnimation m_RDAnimation;
    std::uint16_t m_nDrillAnimating = 0;
    double m_fDrillAnimation = 0;
    std::int64_t m_lDrTotalSize = 0;
    int m_nDrSubLevels = 0;
    int m_nDrRootSubLevel = 0;
    double m_dDrRootSkAngle = 0;
    float m_fDrRootHueColor = 0;
    ItemRef m_pDrillingRoot;
    ItemRef mDrillTarget;  // the root a zoom in ends on
    RingRaster mDrillRaster;
    CachedPicture mDrillDisc;  // the zoom node's disc as it becomes the root's
    std::vector<double> mDrillRadii;
    // The zooming subtree's outline, cast in one shadow with the still figure.
    std::optional<DiagramShadow::Outline> mDrillOutline;
    std::vector<SectorItem> mSelectedSectors;
    ItemRef _highlightedFileSystemItem;
    bool _isLiveResizing = false;
    DiagramHost* mHost = nullptr;
    DiagramCollectionActions* mCollection = nullptr;
};

}  // namespace korvex
