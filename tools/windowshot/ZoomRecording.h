#pragma once

#include <QString>

namespace korvex {

class MainWindow;

// Points at the first folder of the diagram's inner ring, saves the window
// with its hint as OUT-hint.png, clicks the folder and saves the diagram
// as the zoom runs, frame by frame, as OUT-0.png, OUT-1.png, …; then quits.
void recordZoom(MainWindow& window, const QString& outBase);

}  // namespace korvex
