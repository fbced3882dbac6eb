#pragma once

class QWidget;
class QMessageBox;

namespace korvex {

class RestartService;

// Told when a file-system call hangs past its time limit (a disconnected
// network share or a failing disk): the scan cannot be stopped from inside,
// so the user may quit and reopen, which the restart service does.
QMessageBox* showHungCallAlert(QWidget* window, RestartService& restartService);

}  // namespace korvex
