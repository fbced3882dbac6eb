#include "ZoomRecording.h"

#include "app/window/MainWindow.h"
#include "diagram/RadialView.h"

#include <QApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>

#include <cmath>
#include <memory>
#include <numbers>
#include <optional>

namespace korvex {

namespace {

constexpr int kFrames = 16;
constexpr int kFrameIntervalMs = 16;

std::optional<QPointF> firstFolderPoint(const RadialController& radial) {
    const QPointF centre = radial.center();
    const double radius = (radial.radiusOf(0) + radial.radiusOf(1)) / 2;
    for (int step = 0; step < 720; ++step) {
        const double angle = step / 720.0 * 2 * std::numbers::pi;
        const QPointF point(centre.x() + radius * std::sin(angle),
                            centre.y() - radius * std::cos(angle));
        const SectorItem sector = radial.getItemByPoint(point);
        if (sector.m_pItem && sector.m_pItem->isDirectory())
            return point;
    }
    return std::nullopt;
}

void sendMouse(QWidget* view, QEvent::Type type, QPointF point) {
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
    QMouseEvent event(type, point, view->mapToGlobal(point), button, held, Qt::NoModifier);
    QApplication::sendEvent(view, &event);
}

}  // namespace

void recordZoom(MainWindow& window, const QString& outBase) {
    auto* view = window.findChild<RadialView*>();
    const auto point =
        view ? firstFolderPoint(window.treeController().radialController()) : std::nullopt;
    if (!point) {
        QApplication::exit(1);
        return;
    }
    // The hint shows only over the active window; Xvfb has no window manager
    // to make it so.
    QApplication::setActiveWindow(&window);
    sendMouse(view, QEvent::MouseMove, *point);
    QTimer::singleShot(700, &window, [&window, view, point, outBase] {
        // The hint floats in a window of its own: take the screen.
        window.screen()->grabWindow(0).save(outBase + QStringLiteral("-hint.png"));
        sendMouse(view, QEvent::MouseButtonPress, *point);
        sendMouse(view, QEvent::MouseButtonRelease, *point);
        auto frame = std::make_shared<int>(0);
        auto* timer = new QTimer(&window);
        // Only the diagram, so that a frame is taken quickly enough to
        // catch the motion.
        QObject::connect(timer, &QTimer::timeout, &window, [view, timer, frame, outBase] {
            view->grab().save(outBase + QStringLiteral("-%1.png").arg(*frame));
            if (++*frame == kFrames) {
                timer->stop();
                QApplication::exit(0);
            }
        });
        timer->start(kFrameIntervalMs);
    });
}

}  // namespace korvex
