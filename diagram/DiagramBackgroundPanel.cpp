#include "diagram/DiagramBackgroundPanel.h"

#include "diagram/RadialController.h"
#include "diagram/RadialView.h"

#include <QPainter>
#include <QVBoxLayout>

namespace korvex {

namespace {

constexpr int kFadeMs = 250;
constexpr double kInset = 8;
constexpr double kCornerRadius = 14;

}  // namespace

DiagramBackgroundPanel::DiagramBackgroundPanel(RadialController& controller, QWidget* parent)
    : QWidget(parent), mController(controller), mView(new RadialView(controller, this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(mView);
    mFade.setDuration(kFadeMs);
    mFade.setEasingCurve(QEasingCurve::InOutQuad);
    connect(&mFade, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        mAlpha = value.toDouble();
        update();
    });
    mController.setBackgroundPanelHandler([this](double alpha) { fadeTo(alpha); });
}

DiagramBackgroundPanel::~DiagramBackgroundPanel() {
    mController.setBackgroundPanelHandler(nullptr);
}

void DiagramBackgroundPanel::fadeTo(double alpha) {
    if (alpha == mTarget) {
        return;
    }
    mTarget = alpha;
    mFade.stop();
    if (!isVisible()) {
        // Nobody would see the fade: the panel is simply in its new state.
        mAlpha = alpha;
        update();
        return;
    }
    mFade.setStartValue(mAlpha);
    mFade.setEndValue(alpha);
    mFade.start();
}

void DiagramBackgroundPanel::paintEvent(QPaintEvent*) {
    if (mAlpha <= 0) {
        return;
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setOpacity(mAlpha);
    const QRectF card = QRectF(rect()).adjusted(kInset, kInset, -kInset, -kInset);
    QColor edge = palette().color(QPalette::Mid);
    edge.setAlphaF(0.35f);
    painter.setPen(QPen(edge, 1));
    painter.setBrush(palette().color(QPalette::Base));
    painter.drawRoundedRect(card, kCornerRadius, kCornerRadius);
}

}  // namespace korvex
