#include "app/toolkit/Appearance.h"

#include "app/settings/Settings.h"
#include "app/toolkit/ContrastStyle.h"
#include "platform/desktop/ColorSchemePreference.h"

#include <QApplication>
#include <QPalette>
#include <QWidget>

namespace korvex::Appearance {

namespace {

// The colours that make one appearance; the roles not named follow from them.
struct PaletteColours {
    QColor window, base, alternateBase, text, button, highlight, placeholder;
    QColor toolTipBase, toolTipText, mid, dark, light, disabled;
};

QPalette makePalette(const PaletteColours& c) {
    QPalette p;
    p.setColor(QPalette::Window, c.window);
    p.setColor(QPalette::WindowText, c.text);
    p.setColor(QPalette::Base, c.base);
    p.setColor(QPalette::AlternateBase, c.alternateBase);
    p.setColor(QPalette::Text, c.text);
    p.setColor(QPalette::Button, c.button);
    p.setColor(QPalette::ButtonText, c.text);
    p.setColor(QPalette::Highlight, c.highlight);
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::PlaceholderText, c.placeholder);
    p.setColor(QPalette::ToolTipBase, c.toolTipBase);
    p.setColor(QPalette::ToolTipText, c.toolTipText);
    p.setColor(QPalette::Mid, c.mid);
    p.setColor(QPalette::Dark, c.dark);
    p.setColor(QPalette::Light, c.light);
    for (QPalette::ColorRole role : {QPalette::Text, QPalette::ButtonText, QPalette::WindowText}) {
        p.setColor(QPalette::Disabled, role, c.disabled);
    }
    return p;
}

const PaletteColours kLight{
    .window = QColor(0xf4, 0xf5, 0xf7),
    .base = Qt::white,
    .alternateBase = QColor(0xf7, 0xf8, 0xfa),
    .text = QColor(0x1f, 0x21, 0x26),
    .button = QColor(0xfb, 0xfb, 0xfc),
    .highlight = QColor(0x2f, 0x6f, 0xeb),
    .placeholder = QColor(0x7a, 0x7f, 0x89),
    .toolTipBase = QColor(0x2a, 0x2c, 0x31),
    .toolTipText = Qt::white,
    .mid = QColor(0xd5, 0xd8, 0xde),
    .dark = QColor(0xb8, 0xbc, 0xc4),
    .light = Qt::white,
    .disabled = QColor(0xa5, 0xa9, 0xb1),
};

const PaletteColours kDark{
    .window = QColor(0x1c, 0x1d, 0x21),
    .base = QColor(0x24, 0x25, 0x2a),
    .alternateBase = QColor(0x29, 0x2a, 0x30),
    .text = QColor(0xe7, 0xe8, 0xeb),
    .button = QColor(0x2d, 0x2f, 0x35),
    .highlight = QColor(0x3d, 0x85, 0xf7),
    .placeholder = QColor(0x8d, 0x91, 0x9a),
    .toolTipBase = QColor(0x34, 0x36, 0x3c),
    .toolTipText = QColor(0xe7, 0xe8, 0xeb),
    .mid = QColor(0x3a, 0x3c, 0x43),
    .dark = QColor(0x14, 0x15, 0x18),
    .light = QColor(0x3f, 0x41, 0x48),
    .disabled = QColor(0x6b, 0x6e, 0x76),
};

platform::ColorSchemePreference* systemPreference() {
    static platform::ColorSchemePreference* preference = [] {
        auto* made = new platform::ColorSchemePreference(QDBusConnection::sessionBus(), qApp);
        QObject::connect(made, &platform::ColorSchemePreference::changed, qApp,
                         [] { applyToApplication(); });
        return made;
    }();
    return preference;
}

bool gDark = false;

}  // namespace

unsigned long long storedType() {
    return Settings::appAppearanceTypeValue();
}

void setStoredType(unsigned long long type) {
    Settings::setAppAppearanceTypeValue(type);
    applyToApplication();
}

void applyToApplication() {
    bool dark = false;
    switch (storedType()) {
        case 1:
            break;
        case 2:
            dark = true;
            break;
        default:
            dark = systemPreference()->prefersDark().value_or(false);
            break;
    }
    gDark = dark;
    // One style everywhere, so both palettes look as designed on any desktop.
    if (dynamic_cast<ContrastStyle*>(QApplication::style()) == nullptr) {
        QApplication::setStyle(new ContrastStyle);
    }
    QApplication::setPalette(makePalette(dark ? kDark : kLight));
    // Style sheets take their palette() colours when they are set: set them
    // again so that they follow the new palette.
    for (QWidget* widget : QApplication::allWidgets()) {
        if (!widget->styleSheet().isEmpty()) {
            widget->setStyleSheet(widget->styleSheet());
        }
    }
}

bool isDark() {
    return gDark;
}

}  // namespace korvex::Appearance
