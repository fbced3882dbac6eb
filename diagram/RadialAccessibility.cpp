#include "diagram/RadialAccessibility.h"

#include "diagram/RadialDiagramLocalizable.h"
#include "diagram/RadialView.h"

#include <QWidget>

namespace korvex {

namespace {

QString fromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QAccessibleInterface* radialFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("korvex::RadialView") && object != nullptr &&
        object->isWidgetType()) {
        return new RadialViewAccessible(static_cast<RadialView*>(object));
    }
    return nullptr;
}

}  // namespace

void installRadialAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(radialFactory);
        return true;
    }();
    (void)installed;
}

RadialSectorAccessibilityElement::RadialSectorAccessibilityElement(RadialView* view,
                                                                   SectorAccessibility sector)
    : parentView(view),
      sectorBounds(sector.bounds),
      sectorLabel(fromUtf8(sector.label)),
      sectorValue(fromUtf8(sector.value)),
      sectorIdentifier(fromUtf8(sector.identifier)) {}

QWindow* RadialSectorAccessibilityElement::window() const {
    return parentView != nullptr && parentView->window() != nullptr
               ? parentView->window()->windowHandle()
               : nullptr;
}

QAccessibleInterface* RadialSectorAccessibilityElement::parent() const {
    return parentView != nullptr ? QAccessible::queryAccessibleInterface(parentView.data())
                                 : nullptr;
}

QString RadialSectorAccessibilityElement::text(QAccessible::Text t) const {
    switch (t) {
        case QAccessible::Name:
            return sectorLabel;
        case QAccessible::Value:
            return sectorValue;
        case QAccessible::UserText:
            return sectorIdentifier;
        default:
            return {};
    }
}

QString RadialSectorAccessibilityElement::identifier() const {
    return sectorIdentifier;
}

QRect RadialSectorAccessibilityElement::rect() const {
    if (parentView == nullptr || parentView->window() == nullptr) {
        return {};
    }
    const QRect local = sectorBounds.toAlignedRect();
    return QRect(parentView->mapToGlobal(local.topLeft()), local.size());
}

RadialViewAccessible::RadialViewAccessible(RadialView* view)
    : QAccessibleWidget(view, QAccessible::Grouping) {}

RadialView* RadialViewAccessible::view() const {
    return static_cast<RadialView*>(widget());
}

QString RadialViewAccessible::text(QAccessible::Text t) const {
    if (t == QAccessible::Name) {
        return fromUtf8(RadialDiagramLocalizable::text(RadialDiagramLocalizable::kChart));
    }
    return QAccessibleWidget::text(t);
}

int RadialViewAccessible::childCount() const {
    return static_cast<int>(view()->accessibilityElements().size());
}

QAccessibleInterface* RadialViewAccessible::child(int index) const {
    const auto& elements = view()->accessibilityElements();
    if (index < 0 || index >= static_cast<int>(elements.size())) {
        return nullptr;
    }
    return elements[static_cast<std::size_t>(index)];
}

int RadialViewAccessible::indexOfChild(const QAccessibleInterface* child) const {
    const auto& elements = view()->accessibilityElements();
    for (std::size_t i = 0; i < elements.size(); ++i) {
        if (elements[i] == child) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

QAccessibleInterface* RadialViewAccessible::childAt(int x, int y) const {
    const QPoint local = view()->mapFromGlobal(QPoint(x, y));
    const auto& elements = view()->accessibilityElements();
    // The root disc lies inside the rings' bounds: the last match is the
    // smallest, outermost sector drawn there.
    for (auto it = elements.rbegin(); it != elements.rend(); ++it) {
        if ((*it)->boundsInView().contains(local)) {
            return *it;
        }
    }
    return nullptr;
}

}  // namespace korvex
