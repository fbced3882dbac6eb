#pragma once

#include <QElapsedTimer>
#include <QVariantAnimation>
#include <QWidget>

namespace korvex {

class RadialController;

// Drawn over the diagram and transparent to the mouse: the outlines of the
// pointed and selected sectors, and the glow that pulses while a scan runs.
class DiagramOverlayView : public QWidget {
    Q_OBJECT
  public:
    DiagramOverlayView(RadialController& controller, QWidget* parent);

    void StartAnimation();
    void StopAnimation();
    void SuspendAnimation();
    void ResumeAnimation();
    bool pulseRunning() const;
    // Hidden during a live resize.
    void setShowsSelection(bool shows);
    bool showsSelection() const { return mShowsSelection; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    // A frame of the glow, at most every kPulseFrameMs.
    void pulseFrame();

    RadialController& mController;
    QVariantAnimation mOpacity;
    QVariantAnimation mScale;
    QElapsedTimer mSinceFrame;
    bool mPulseOn = false;
    bool mShowsSelection = true;
};

}  // namespace korvex
