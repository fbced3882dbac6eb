#include "diagram/RadialView.h"

#include <QGraphicsDropShadowEffect>
#include <QPaintEvent>
#include <QPainter>

namespace korvex {

RadialView::RadialView(RadialController& controller, QWidget* parent)
    : QWidget(parent), mController(controller) {
    setMinimumSize(200, 200);
    auto* shadow = new QGraphicsDropShadowEffect(this);
    shadow->setBlurRadius(14.5);
    shadow->setOffset(0, 2.42);  // below the figure: screen y grows downwards
    shadow->setColor(QColor(0, 0, 0, 72));
    shadow->setEnabled(false);
    setGraphicsEffect(shadow);
    mController.setNeedsDisplayHandler([this] { update(); });
    mController.setDropShadowHandler([shadow](bool on) { shadow->setEnabled(on); });
}

RadialView::~RadialView() {
    mController.setNeedsDisplayHandler(nullptr);
    mController.setDropShadowHandler(nullptr);
}

bool RadialView::showsDropShadow() const {
    return graphicsEffect() != nullptr && graphicsEffect()->isEnabled();
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
