#pragma once

namespace korvex {

class ContentsPanel;
class RadialController;

// The hint over an unscanned folder tells how many entries the folder
// columns beside the diagram could not scan; the diagram asks them through
// this link only.
void countUnscannedItemsFromLists(RadialController& radial, ContentsPanel* contents);

}  // namespace korvex
