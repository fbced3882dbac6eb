#pragma once

#include <QTimer>
#include <QWidget>

namespace korvex {

// A small indeterminate activity indicator: a turning arc in the palette's
// highlight colour. It takes no space in the layout's eyes when hidden, so
// showing it does not move the controls beside it.
class BusySpinner : public QWidget {
    Q_OBJECT
  public:
    explicit BusySpinner(QWidget* parent = nullptr);

    void startAnimation();
    void stopAnimation();
    bool isAnimating() const { return mTimer.isActive(); }
    QSize sizeHint() const override { return {18, 18}; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QTimer mTimer;
    int mAngle = 0;
};

}  // namespace korvex
