#pragma once

#include "scan/tree/ItemRef.h"

#include <optional>

namespace korvex {

// Stand-ins for the sectors that show no node.
enum class SectorMarker { Occupied, Free, Unscanned };

// One sector as the pointer and the selection see it: the node (or a
// marker), its ring (0 = the root disc) and its start as a fraction.
struct SectorItem {
    ItemRef m_pItem;
    std::optional<SectorMarker> marker;
    int m_nSubLevel = 0;
    double m_dSkAngle = 0;

    bool empty() const { return m_pItem == nullptr && !marker; }
    void cleanSector() { *this = SectorItem(); }
};

}  // namespace korvex
