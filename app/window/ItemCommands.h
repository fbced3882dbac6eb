#pragma once

#include "scan/tree/ItemRef.h"

#include <QPointer>
#include <QWidget>

#include <functional>
#include <string>
#include <vector>

namespace korvex {

// The Item commands on nodes of a scanned tree, from the main menu, the
// diagram and its context menu, and the lists: show in the file manager,
// properties and preview. Where no file manager answers, the folder holding
// an item opens with the desktop's default handler; when nothing can show
// it, an alert says so.
class ItemCommands {
  public:
    // Hands each alert to the window's controller, which keeps the one on screen.
    using AlertShown = std::function<void(QWidget* alert)>;

    ItemCommands(QWidget* window, AlertShown alertShown);

    // The paths of the nodes the commands can act on: synthetic nodes (space
    // that is purgeable, unreadable or not scanned yet) have no file.
    static std::vector<std::string> pathsOf(const ItemList& nodes);

    void reveal(const std::vector<std::string>& paths);
    void showProperties(const std::vector<std::string>& paths);
    void preview(const std::vector<std::string>& paths);

  private:
    std::function<void()> nothingOpenedHandler(const std::vector<std::string>& paths);

    QPointer<QWidget> mWindow;
    AlertShown mAlertShown;
};

}  // namespace korvex
