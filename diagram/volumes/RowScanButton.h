#pragma once

#include "scan/targets/TopLevelItem.h"

#include <string>

namespace korvex {

// What the scan button of a row does, by the entry's scanning state.
enum class RowScanAction { Start, Stop, Rescan };

RowScanAction rowScanActionFor(std::int64_t scanningState);
std::string rowScanTooltip(RowScanAction action);
// A scanned entry shows a mark in place of its button until the pointer is over the row.
bool rowShowsScannedMark(std::int64_t scanningState, bool pointerOverRow);

}  // namespace korvex
