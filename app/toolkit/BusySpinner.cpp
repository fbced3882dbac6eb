#include "app/toolkit/BusySpinner.h"

#include <QPainter>
#include <QSizePolicy>

namespace korvex {

namespace {
constexpr int kStepDegrees = 12;
constexpr int kFrameMs = 16;  // about the display's frame rate
}  // namespace

BusySpinner::BusySpinner(QWidget* parent) : QWidget(parent) {
    QSizePolicy policy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    policy.setRetainSizeWhenHidden(true);
    setSizePolicy(policy);
    mTimer.setInterval(kFrameMs);
    connect(&mTimer, &QTimer::timeout, this, [this] {
        mAngle = (mAngle + kStepDegrees) % 360;
        update();
    });
    hide();
}

void BusySpinner::startAnimation() {
    show();
    mTimer.start();
}

void BusySpinner::stopAnimation() {
    mTimer.stop();
    hide();
}

void BusySpinner::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal side = std::min(width(), height()) - 3.0;
    const QRectF ring((width() - side) / 2, (height() - side) / 2, side, side);
    QColor track = palette().color(QPalette::WindowText);
    track.setAlphaF(0.15);
    QPen pen(track, 2.0, Qt::SolidLine, Qt::RoundCap);
    painter.setPen(pen);
    painter.drawEllipse(ring);
    pen.setColor(palette().color(QPalette::Highlight));
    painter.setPen(pen);
    // Qt counts sixteenths of a degree, anticlockwise from 3 o'clock.
    painter.drawArc(ring, -mAngle * 16, 100 * 16);
}

}  // namespace korvex
