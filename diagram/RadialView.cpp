#include "diagram/RadialView.h"

#include <QPaintEvent>
#include <QPainter>

namespace korvex {

RadialView::RadialView(RadialController& controller, QWidget* parent)
    : QWidget(parent), mController(controller) {
    setMinimumSize(200, 200);
}

void RadialView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    mController.DrawRadialSructure(painter, event->rect());
}

void RadialView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    mController.initRadialParameters(rect());
}

}  // namespace korvex
