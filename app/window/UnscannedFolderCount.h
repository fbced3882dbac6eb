#pragma once

namespace korvex {

class RadialController;

// The hint over a folder that was not scanned yet tells how many entries it
// holds, all of them unscanned; the diagram asks the disk through this link.
void countUnscannedFolderEntries(RadialController& radial);

}  // namespace korvex
