#pragma once

#include <QVariantAnimation>
#include <QWidget>

namespace korvex {

class RadialController;
class RadialView;

// The panel the diagram lies on. It holds the diagram's view and fades out
// while the diagram of a running scan is shown, and back in afterwards.
class DiagramBackgroundPanel : public QWidget {
    Q_OBJECT
  public:
    explicit DiagramBackgroundPanel(RadialController& controller, QWidget* parent = nullptr);
    ~DiagramBackgroundPanel() override;

    RadialView& radialView() const { return *mView; }
    // The opacity drawn now, and the one a running fade ends on.
    double alphaValue() const { return mAlpha; }
    double targetAlpha() const { return mTarget; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void fadeTo(double alpha);

    RadialController& mController;
    RadialView* mView;
    QVariantAnimation mFade;
    double mAlpha = 0.9999;
    double mTarget = 0.9999;
};

}  // namespace korvex
