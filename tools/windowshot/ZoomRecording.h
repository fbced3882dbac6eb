#pragma once

#include <QString>

namespace korvex {

class MainWindow;

// How the frames of a zoom are taken.
enum class ZoomFrames {
    // Saved as the animation runs: what the eye sees, as far as grabs keep up.
    Timed,
    // The zoom's progress is set to 0, 1/15, …, 1 and each frame is drawn
    // then, for zoom in (OUT-0…15) and then back out (OUT-out-0…15).
    Stepped,
};

// Points at the first folder of the diagram's inner ring, saves the window
// with its hint as OUT-hint.png, clicks the folder and saves the diagram
// frame by frame as OUT-0.png, OUT-1.png, …; then quits.
void recordZoom(MainWindow& window, const QString& outBase, ZoomFrames frames);

}  // namespace korvex
