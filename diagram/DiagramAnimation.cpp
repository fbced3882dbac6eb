#include "diagram/DiagramAnimation.h"

#include <QEasingCurve>
#include <QVariantAnimation>

namespace korvex {

DiagramAnimation::DiagramAnimation() : mAnimation(std::make_unique<QVariantAnimation>()) {
    mAnimation->setStartValue(0.0);
    mAnimation->setEndValue(1.0);
    mAnimation->setEasingCurve(QEasingCurve::InOutQuad);
    QObject::connect(mAnimation.get(), &QVariantAnimation::valueChanged,
                     [this](const QVariant& value) {
                         if (mStep && mAnimation->state() == QAbstractAnimation::Running) {
                             mStep(value.toDouble());
                         }
                     });
    QObject::connect(mAnimation.get(), &QVariantAnimation::finished, [this] { finish(); });
}

DiagramAnimation::~DiagramAnimation() {
    stop();
}

void DiagramAnimation::start(std::chrono::milliseconds duration, Step step, Done done) {
    stop();
    mStep = std::move(step);
    mDone = std::move(done);
    mAnimation->setDuration(static_cast<int>(duration.count()));
    mAnimation->start();
}

void DiagramAnimation::stop() {
    mStep = nullptr;
    mDone = nullptr;
    mAnimation->stop();
}

void DiagramAnimation::finish() {
    // Taken first: the callbacks may start the next run.
    Step step = std::move(mStep);
    Done done = std::move(mDone);
    mStep = nullptr;
    mDone = nullptr;
    mAnimation->stop();
    if (step) {
        step(1.0);
    }
    if (done) {
        done();
    }
}

bool DiagramAnimation::isRunning() const {
    return mAnimation->state() == QAbstractAnimation::Running;
}

}  // namespace korvex
