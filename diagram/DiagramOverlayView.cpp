#include "diagram/DiagramOverlayView.h"

#include "diagram/RadialController.h"

#include <QEasingCurve>
#include <QPainter>
#include <QRadialGradient>

#include <algorithm>

namespace korvex {

namespace {

// The glow lies over the diagram, so each of its frames redraws the diagram
// beneath as well, a large part of the window's work while a scan runs. A
// glow that swells over a second is smooth at 20 frames a second; the
// animations' own 60 would take the scan's time for nothing.
constexpr qint64 kPulseFrameMs = 50;

}  // namespace

DiagramOverlayView::DiagramOverlayView(RadialController& controller, QWidget* parent)
    : QWidget(parent), mController(controller) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    // Fades in and out twice a second; the swell takes a second.
    QEasingCurve curve(QEasingCurve::BezierSpline);
    curve.addCubicBezierSegment(QPointF(0.383, 0), QPointF(0.628, 1), QPointF(1, 1));
    mOpacity.setStartValue(0.0);
    mOpacity.setKeyValueAt(0.5, 0.9);
    mOpacity.setEndValue(0.0);
    mOpacity.setDuration(1000);
    mOpacity.setEasingCurve(curve);
    mOpacity.setLoopCount(-1);
    mScale.setStartValue(0.75);
    mScale.setEndValue(1.1);
    mScale.setDuration(1000);
    mScale.setLoopCount(-1);
    connect(&mOpacity, &QVariantAnimation::valueChanged, this, [this] { pulseFrame(); });
}

void DiagramOverlayView::pulseFrame() {
    if (mSinceFrame.isValid() && mSinceFrame.elapsed() < kPulseFrameMs) {
        return;
    }
    mSinceFrame.start();
    update();
}

void DiagramOverlayView::StartAnimation() {
    mPulseOn = true;
    ResumeAnimation();
}

void DiagramOverlayView::StopAnimation() {
    mPulseOn = false;
    mOpacity.stop();
    mScale.stop();
    update();
}

void DiagramOverlayView::SuspendAnimation() {
    if (mPulseOn) {
        mOpacity.stop();
        mScale.stop();
        update();
    }
}

void DiagramOverlayView::ResumeAnimation() {
    if (mPulseOn && isVisible() && mController.isRootBeingScanned() &&
        mOpacity.state() != QAbstractAnimation::Running) {
        mOpacity.start();
        mScale.start();
    }
}

bool DiagramOverlayView::pulseRunning() const {
    return mOpacity.state() == QAbstractAnimation::Running;
}

void DiagramOverlayView::setShowsSelection(bool shows) {
    mShowsSelection = shows;
    update();
}

void DiagramOverlayView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (pulseRunning()) {
        const double side = std::min(width(), height()) * mScale.currentValue().toDouble();
        const QPointF center = rect().center();
        QRadialGradient glow(center, side / 2);
        glow.setColorAt(0.55, QColor(120, 190, 255, 0));
        glow.setColorAt(0.8, QColor(120, 190, 255, 150));
        glow.setColorAt(1.0, QColor(120, 190, 255, 0));
        painter.setOpacity(mOpacity.currentValue().toDouble());
        painter.setPen(Qt::NoPen);
        painter.setBrush(glow);
        painter.drawEllipse(center, side / 2, side / 2);
        painter.setOpacity(1.0);
    }
    if (mController.drillState() != 0) {
        return;
    }
    mController.DrawFocusItem(painter);
    if (mShowsSelection) {
        mController.DrawSelectedItem(painter);
    }
}

}  // namespace korvex
