#pragma once

#include "scan/targets/TopLevelItem.h"

#include <QString>

#include <utility>
#include <vector>

namespace korvex {

// The facts the overview lists for a target that was not scanned yet, as
// label and value: a folder's kind, dates and location; a volume's capacity,
// free space and file-system type.
std::vector<std::pair<QString, QString>> overviewFacts(const TopLevelItem& entry);

// A date as the overview shows it; an unknown date shows as a dash.
QString overviewDateText(const std::optional<FileDate>& date);

}  // namespace korvex
