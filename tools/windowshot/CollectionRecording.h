#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace korvex {

class MainWindow;

// What to show of the removal collection once the scan has ended.
struct CollectionRecording {
    // Collect the root's N biggest children.
    int collect = 0;
    // Open the drop area as while something is dragged over the window.
    bool dragging = false;
    // Press the main button: the review sheet opens over the window.
    bool review = false;
    // Then start the removal from the sheet and wait for its result. The
    // collected items really go to the Trash (of XDG_DATA_HOME).
    bool remove = false;
    // Or copy them into this folder instead, and show the rows' details
    // when there are any (a renamed copy has some).
    QString copyTo;
};

// Takes "--collect N", "--dragging", "--review", "--remove" and
// "--copy-to FOLDER" out of `args`;
// nothing when none was given.
std::optional<CollectionRecording> takeCollectionOptions(QStringList& args);

// Sets the collection up as asked, saves what the screen shows as `out`
// (the sheet floats in a window of its own) and quits.
void recordCollection(MainWindow& window, const CollectionRecording& recording, const QString& out);

}  // namespace korvex
