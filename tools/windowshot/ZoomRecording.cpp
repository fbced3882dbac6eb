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

// Each frame is drawn and saved with the progress held at k/15; the running
// animation gets no step in between because the loop never yields to it.
void saveSteppedFrames(RadialView* view, const QString& prefix) {
    RadialController& radial = view->controller();
    // With the panel under it, so that what fades shows what the eye sees.
    QWidget* shown = view->parentWidget() != nullptr ? view->parentWidget() : view;
    for (int frame = 0; frame < kFrames; ++frame) {
        radial.updateDrillAnimationValue(static_cast<double>(frame) / (kFrames - 1));
        shown->grab().save(prefix + QStringLiteral("%1.png").arg(frame));
    }
}

void recordSteppedZoom(MainWindow& window, RadialView* view, QPointF point,
                       const QString& outBase) {
    sendMouse(view, QEvent::MouseButtonPress, point);
    sendMouse(view, QEvent::MouseButtonRelease, point);
    saveSteppedFrames(view, outBase + QStringLiteral("-"));
    // Back out once the zoom in ended and the delayed redraw ran.
    QTimer::singleShot(600, &window, [&window, view, outBase] {
        const QPointF centre = view->controller().center();
        sendMouse(view, QEvent::MouseButtonPress, centre);
        sendMouse(view, QEvent::MouseButtonRelease, centre);
        saveSteppedFrames(view, outBase + QStringLiteral("-out-"));
        QTimer::singleShot(600, &window, [view, outBase] {
            QWidget* shown = view->parentWidget() != nullptr ? view->parentWidget() : view;
            shown->grab().save(outBase + QStringLiteral("-out-end.png"));
            QApplication::exit(0);
        });
    });
}

void recordTimedZoom(MainWindow& window, RadialView* view, QPointF point, const QString& outBase) {
    sendMouse(view, QEvent::MouseButtonPress, point);
    sendMouse(view, QEvent::MouseButtonRelease, point);
    auto frame = std::make_shared<int>(0);
    auto* timer = new QTimer(&window);
    // Only the diagram, so that a frame is taken quickly enough to catch
    // the motion.
    QObject::connect(timer, &QTimer::timeout, &window, [view, timer, frame, outBase] {
        view->grab().save(outBase + QStringLiteral("-%1.png").arg(*frame));
        if (++*frame == kFrames) {
            timer->stop();
            QApplication::exit(0);
        }
    });
    timer->start(kFrameIntervalMs);
}

}  // namespace

void recordZoom(MainWindow& window, const QString& outBase, ZoomFrames frames) {
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
    QTimer::singleShot(700, &window, [&window, view, point, outBase, frames] {
        // The hint floats in a window of its own: take the screen.
        window.screen()->grabWindow(0).save(outBase + QStringLiteral("-hint.png"));
        if (frames == ZoomFrames::Stepped) {
            recordSteppedZoom(window, view, *point, outBase);
        } else {
            recordTimedZoom(window, view, *point, outBase);
        }
    });
}

}  // namespace korvex
