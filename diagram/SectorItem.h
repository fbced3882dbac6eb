#pragma once

#include "scan/tree/ItemRef.h"

#include <optional>

namespace korvex {

// Stand-ins for the sectors that show no node; Target is the disc of a
// target that has no scan yet.
enum class SectorMarker { Occupied, Free, Unscanned, Target };

// One sector as the pointer and the selection see it: the node (or a
// marker), its ring (0 = the root disc) and its start as a fraction.
struct SectorItem {
    ItemRef m_pItem;
    std::optional<SectorMarker> marker;
    int m_nSubLevel = 0;
    double m_dSkAngle = 0;

    bool empty() const { return m_pItem == nullptr && !marker; }
    bool sameAs(const SectorItem& other) const {
        return m_pItem == other.m_pItem && marker == other.marker &&
               m_nSubLevel == other.m_nSubLevel && m_dSkAngle == other.m_dSkAngle;
    }
    void cleanSector() { *this = SectorItem(); }
};

}  // namespace korvex
