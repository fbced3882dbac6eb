#include "app/toolkit/FocusRing.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>

namespace korvex {

namespace {
constexpr double kOuterWidth = 2.0;
constexpr double kInnerWidth = 1.0;
constexpr double kRadius = 4.0;
}  // namespace

FocusRing::FocusRing(QWidget* window) : QWidget(window) {
    setObjectName(QStringLiteral("focusRing"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    hide();
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget*, QWidget* now) { follow(now); });
}

FocusRing::~FocusRing() {
    unwatch();
}

void FocusRing::follow(QWidget* focused) {
    QWidget* window = parentWidget();
    // Focus in another window (a dialog) leaves this one's ring where it was,
    // hidden: the window is not the one typed into.
    if (focused == nullptr || focused->window() != window->window() || focused == window) {
        unwatch();
        mTarget = nullptr;
        hide();
        return;
    }
    if (focused == mTarget) {
        return;
    }
    unwatch();
    mTarget = focused;
    for (QWidget* level = focused; level != nullptr && level != window;
         level = level->parentWidget()) {
        level->installEventFilter(this);
        mWatched.emplace_back(level);
    }
    place();
}

void FocusRing::unwatch() {
    for (const QPointer<QWidget>& level : mWatched) {
        if (level != nullptr) {
            level->removeEventFilter(this);
        }
    }
    mWatched.clear();
}

void FocusRing::place() {
    QWidget* target = mTarget.data();
    if (target == nullptr || !target->isVisible()) {
        hide();
        return;
    }
    const QRect area(target->mapTo(parentWidget(), QPoint(0, 0)), target->size());
    setGeometry(area);
    raise();
    show();
    update();
}

bool FocusRing::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Show:
        case QEvent::Hide:
            place();
            break;
        default:
            break;
    }
    return QWidget::eventFilter(watched, event);
}

void FocusRing::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::NoBrush);
    const QPalette& colours = palette();
    const double outerInset = kOuterWidth / 2;
    painter.setPen(QPen(colours.color(QPalette::Active, QPalette::Highlight), kOuterWidth));
    painter.drawRoundedRect(
        QRectF(rect()).adjusted(outerInset, outerInset, -outerInset, -outerInset), kRadius,
        kRadius);
    const double innerInset = kOuterWidth + kInnerWidth / 2;
    painter.setPen(QPen(colours.color(QPalette::Active, QPalette::HighlightedText), kInnerWidth));
    painter.drawRoundedRect(
        QRectF(rect()).adjusted(innerInset, innerInset, -innerInset, -innerInset), kRadius - 1,
        kRadius - 1);
}

}  // namespace korvex
