#pragma once

namespace korvex {

// How the widgets follow the volumes list: the rows are replaced between
// rowsWillChange and rowsDidChange; the other calls name one row (-1: none).
class VolumesTableObserver {
  public:
    virtual ~VolumesTableObserver() = default;
    virtual void rowsWillChange() {}
    virtual void rowsDidChange() {}
    virtual void rowDidChange(int /*row*/) {}
    virtual void selectionDidMove(int /*row*/) {}
    virtual void scrollRowToVisible(int /*row*/) {}
};

}  // namespace korvex
