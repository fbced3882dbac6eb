#pragma once

#include <string>
#include <string_view>

namespace korvex {

// The Unicode case-folded form of a name, for comparisons that ignore letter
// case in every script ("ÉCOLE" and "école" fold alike). Names are any bytes:
// a name that is not valid UTF-8 keeps its ill-formed bytes unchanged and
// folds the rest.
std::string caseFolded(std::string_view name);

// Whether `name` holds `foldedQuery` (already case-folded, not empty),
// ignoring case.
bool nameContainsFolded(std::string_view name, std::string_view foldedQuery);

}  // namespace korvex
