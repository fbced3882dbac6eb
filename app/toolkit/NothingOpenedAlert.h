#pragma once

#include <string>
#include <vector>

class QMessageBox;
class QWidget;

namespace korvex {

// Tells the user that neither a file manager nor the desktop's default
// handler could show the items at `paths` (at least one), naming the folder
// that was to be opened.
QMessageBox* showNothingOpenedAlert(QWidget* window, const std::vector<std::string>& paths);

}  // namespace korvex
