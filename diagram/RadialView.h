#pragma once

#include "diagram/RadialController.h"

#include <QWidget>

namespace korvex {

// The widget the sunburst lives in; it forwards painting and size changes
// to its controller.
class RadialView : public QWidget {
    Q_OBJECT
  public:
    explicit RadialView(RadialController& controller, QWidget* parent = nullptr);
    ~RadialView() override;

    bool showsDropShadow() const;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    RadialController& mController;
};

}  // namespace korvex
