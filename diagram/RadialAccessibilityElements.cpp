// The drawn sectors as a flat list for assistive technologies, walked in
// the order and with the folding rules of the draw pass.

#include "diagram/RadialController.h"
#include "diagram/RadialDiagramLocalizable.h"
#include "platform/fs/FileDates.h"
#include "scan/format/SizeFormatter.h"

#include <algorithm>

namespace korvex {

namespace L = RadialDiagramLocalizable;

namespace {

class ElementWalk {
  public:
    ElementWalk(const RadialController& diagram, std::vector<SectorAccessibility>& out)
        : mDiagram(diagram), mOut(out) {}

    double walk(const FileSystemItem& node, int level, double start) {
        if (level > mDiagram.subLevels()) {
            return start;
        }
        const double total = static_cast<double>(mDiagram.totalSize());
        std::int64_t drawnSize = 0;
        for (std::size_t i = 0, count = node.numberOfChildren(); i < count; ++i) {
            const FileSystemItem& child = *node.childAtIndex(i);
            const std::int64_t size = child.gettotalsize();
            const double delta = static_cast<double>(size) / total;
            if (!mDiagram.CanDrawItem(child, level)) {
                if (node.isSorted() && size >= 1) {
                    foldRest(node, level, start, drawnSize);
                    return start;
                }
                start += delta;
                continue;
            }
            SectorItem sector;
            sector.m_pItem = const_cast<FileSystemItem*>(&child);
            sector.m_nSubLevel = level;
            sector.m_dSkAngle = start;
            std::string name(child.name());
            add(name.empty() ? child.getDesc() : name, size, mDiagram.getBoundsOfItem(sector));
            drawnSize += size;
            if (child.isDirectory()) {
                walk(child, level + 1, start);
            }
            start += delta;
        }
        return start;
    }

  private:
    void foldRest(const FileSystemItem& node, int level, double start, std::int64_t drawnSize) {
        const auto& folder = static_cast<const FolderSystemItem&>(node);
        std::size_t firstSpecial = 0;
        const std::int64_t specialSize = folder.specialItemsSize(&firstSpecial);
        const std::int64_t smallSize = folder.getOccSize() - drawnSize - specialSize;
        const double total = static_cast<double>(mDiagram.totalSize());
        const double smallDelta = static_cast<double>(smallSize) / total;
        if (smallDelta > 0) {
            QPainterPath path;
            mDiagram.FillSectorPath(path, level, start, smallDelta, 0.2);
            add(L::text(L::kOtherItems), smallSize, path.boundingRect());
        }
        start += smallDelta;
        if (specialSize < 1) {
            return;
        }
        for (std::size_t i = firstSpecial, count = node.numberOfChildren(); i < count; ++i) {
            const FileSystemItem& child = *node.childAtIndex(i);
            SectorItem sector;
            sector.m_pItem = const_cast<FileSystemItem*>(&child);
            sector.m_nSubLevel = level;
            sector.m_dSkAngle = start;
            add(child.getDesc(), child.gettotalsize(), mDiagram.getBoundsOfItem(sector));
            start += static_cast<double>(child.gettotalsize()) / total;
        }
    }

    void add(std::string label, std::int64_t size, QRectF bounds) {
        mOut.push_back({std::move(label), sizeString(size), bounds,
                        "radial.sector." + std::to_string(++mCounter)});
    }

    const RadialController& mDiagram;
    std::vector<SectorAccessibility>& mOut;
    int mCounter = 0;
};

}  // namespace

std::vector<SectorAccessibility> RadialController::buildAccessibilityElements() const {
    std::vector<SectorAccessibility> elements;
    if ((m_pRoot == nullptr && mTarget == nullptr) || m_lTotalSize <= 0) {
        return elements;
    }
    const double r = radiusOf(0);
    const QRectF disc(m_Center.x() - r, m_Center.y() - r, 2 * r, 2 * r);
    const std::string name =
        mTarget != nullptr ? mTarget->getDisplayName() : platform::displayNameAtPath(rootPath());
    elements.push_back({name, sizeString(m_lTotalSize), disc, "radial.sector.root"});
    if (mTarget != nullptr) {
        SectorItem occupied;
        occupied.marker = SectorMarker::Occupied;
        occupied.m_nSubLevel = 1;
        elements.push_back({L::text(L::kOccupied), sizeString(mTarget->getOccSize()),
                            getBoundsOfItem(occupied), "radial.sector.occupied"});
        if (mTarget->isVol()) {
            SectorItem free = occupied;
            free.marker = SectorMarker::Free;
            elements.push_back({L::text(L::kFree), sizeString(mTarget->getfsize()),
                                getBoundsOfItem(free), "radial.sector.free"});
        }
        return elements;
    }
    ElementWalk(*this, elements).walk(*m_pRoot, 1, 0.0);
    if (isRootBeingScanned() && m_pRoot->isVol() && getUnscannedScanningVolumeSize() > 0) {
        SectorItem unscanned;
        unscanned.marker = SectorMarker::Unscanned;
        unscanned.m_nSubLevel = 1;
        elements.push_back({L::text(L::kUnscanned), sizeString(getUnscannedScanningVolumeSize()),
                            getBoundsOfItem(unscanned), "radial.sector.unscanned"});
    }
    return elements;
}

}  // namespace korvex
