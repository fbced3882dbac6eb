#pragma once

#include "diagram/AnimController.h"
#include "diagram/CachedPicture.h"
#include "diagram/DiagramAnimation.h"
#include "diagram/RingRaster.h"
#include "diagram/SectorItem.h"
#include "scan/targets/TopLevelItem.h"
#include "scan/tree/FolderSystemItem.h"

#include <QPainterPath>
#include <QPointF>
#include <QRectF>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QPainter;

namespace korvex {

// Lays out and draws the sunburst of the tree below one node, the diagram
// root: a disc in the centre, then one ring per level, each sector's angle
// proportional to its node's size. Angles are fractions of the circle, 0 at
// 12 o'clock and growing clockwise. Main thread only, like every change of
// the tree, so the drawing needs no lock.
class RadialController {
  public:
    RadialController();

    // ---- Frame and root
    void initRadialParameters(const QRectF& bounds);
    // A scanned node (normally a folder) as the root.
    void setRoot(ItemRef root, bool setAnyway = false);
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
    bool isAnimating() const;
    // A node put into the removal collection while on screen leaves the
    // diagram at once: its cut item takes its place at size 0.
    ItemRef getCutItemForItemToCollection(FileSystemItem* item);

    // ---- What the view and the side lists are told
    void setNeedsDisplayHandler(std::function<void()> handler) {
        mNeedsDisplay = std::move(handler);
    }
    // Whether the view shows its drop shadow (a scanned or scanning root).
    void setDropShadowHandler(std::function<void(bool)> handler);
    // The side lists take the diagram root again after the tree changed.
    void setListsRootHandler(std::function<void(const ItemRef&)> handler) {
        mListsRoot = std::move(handler);
    }

    // ---- State
    QPointF center() const { return m_Center; }
    double fullRadius() const { return m_fullRadius; }
    int subLevels() const { return m_nSubLevels; }
    std::int64_t totalSize() const { return m_lTotalSize; }
    const ItemRef& root() const { return m_pRoot; }
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
    bool DrawItemWithSubLevel(int level, double start, double delta, int colorFlag);
    void DrawPaintedSectors(QPainter& painter);
    bool DrawOccupiedSector(QPainter& painter, int level, double start, double delta,
                            bool drawLine);
    bool DrawFreeSector(QPainter& painter, int level, double start, double delta);
    void DrawNotScannedSectors();
    void DrawRoot(QPainter& painter);
    void DrawRootLabel(QPainter& painter);
    QPointF pointAt(double radius, double fraction) const;
    void appendArc(QPainterPath& path, double radius, double from, double to) const;
    std::string rootPath() const;
    bool rootIsUnscannedVolume() const;
    bool rootIsUnscannedFolder() const;
    void needsDisplay() const;
    void updateDropShadow();
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
    std::function<void(bool)> mDropShadow;
    std::function<void(const ItemRef&)> mListsRoot;
};

}  // namespace korvex
