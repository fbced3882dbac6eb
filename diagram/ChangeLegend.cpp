#include "diagram/ChangeLegend.h"

#include "scan/format/SizeFormatter.h"

#include <QLinearGradient>
#include <QPainter>

namespace korvex {

namespace {
constexpr int kPadding = 8;
constexpr int kBarHeight = 10;
constexpr int kSteps = 8;
}  // namespace

ChangeLegend::ChangeLegend(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("changeLegend"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void ChangeLegend::setScale(const ChangeScale& scale, const QString& title) {
    mScale = scale;
    mTitle = title;
    adjustSize();
    update();
}

QStringList ChangeLegend::labels() const {
    const std::int64_t biggest = mScale.biggestChange();
    return {QString::fromStdString(signedSizeString(-biggest)), QStringLiteral("0"),
            QString::fromStdString(signedSizeString(biggest))};
}

QSize ChangeLegend::sizeHint() const {
    const QFontMetrics metrics(font());
    const int width = std::max(200, metrics.horizontalAdvance(mTitle) + 2 * kPadding);
    return {width, 2 * metrics.height() + kBarHeight + 3 * kPadding};
}

void ChangeLegend::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QColor panel = palette().color(QPalette::Window);
    panel.setAlphaF(0.85F);
    painter.setPen(palette().color(QPalette::Mid));
    painter.setBrush(panel);
    painter.drawRoundedRect(rect().adjusted(0, 0, -1, -1), 6, 6);

    const QFontMetrics metrics(font());
    painter.setPen(palette().color(QPalette::WindowText));
    const QRect titleRect(kPadding, kPadding, width() - 2 * kPadding, metrics.height());
    painter.drawText(titleRect, Qt::AlignLeft | Qt::AlignVCenter, mTitle);

    const QRect bar(kPadding, titleRect.bottom() + kPadding / 2, width() - 2 * kPadding,
                    kBarHeight);
    QLinearGradient gradient(bar.topLeft(), bar.topRight());
    const std::int64_t biggest = mScale.biggestChange();
    for (int step = -kSteps; step <= kSteps; ++step) {
        const double at = static_cast<double>(step) / kSteps;
        gradient.setColorAt(
            (at + 1) / 2,
            mScale.colorFor(static_cast<std::int64_t>(at * at * biggest) * (step < 0 ? -1 : 1)));
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(gradient);
    painter.drawRect(bar);

    const QStringList texts = labels();
    const QRect under(kPadding, bar.bottom() + 2, width() - 2 * kPadding, metrics.height());
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(under, Qt::AlignLeft | Qt::AlignVCenter, texts[0]);
    painter.drawText(under, Qt::AlignHCenter | Qt::AlignVCenter, texts[1]);
    painter.drawText(under, Qt::AlignRight | Qt::AlignVCenter, texts[2]);
}

}  // namespace korvex
