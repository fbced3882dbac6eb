#pragma once

#include "diagram/RadialController.h"

#include <QAccessibleInterface>
#include <QAccessibleWidget>
#include <QPointer>

namespace korvex {

class RadialView;

// One drawn sector for assistive technologies: a button with the sector's
// name as label, its size as value and its place on screen.
class RadialSectorAccessibilityElement : public QAccessibleInterface {
  public:
    RadialSectorAccessibilityElement(RadialView* view, SectorAccessibility sector);

    bool isValid() const override { return true; }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    // The label as Name, the size as Value, the identifier as UserText.
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::Button; }
    QAccessible::State state() const override { return {}; }

    const QRectF& boundsInView() const { return sectorBounds; }
    QString identifier() const;

  private:
    QPointer<RadialView> parentView;
    QRectF sectorBounds;
    QString sectorLabel;
    QString sectorValue;
    QString sectorIdentifier;
};

// The diagram as a group of its sectors.
class RadialViewAccessible : public QAccessibleWidget {
  public:
    explicit RadialViewAccessible(RadialView* view);

    QString text(QAccessible::Text t) const override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;

  private:
    RadialView* view() const;
};

// Makes Qt answer RadialViewAccessible for every diagram view.
void installRadialAccessibility();

}  // namespace korvex
