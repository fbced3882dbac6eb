#include "app/toolkit/Appearance.h"

#include "app/settings/Settings.h"
#include "platform/desktop/ColorSchemePreference.h"

#include <QApplication>
#include <QPalette>
#include <QStyle>
#include <QStyleFactory>

namespace korvex::Appearance {

namespace {

QPalette lightPalette() {
    QPalette p;
    const QColor window(0xf4, 0xf5, 0xf7), base(0xff, 0xff, 0xff), text(0x1f, 0x21, 0x26);
    p.setColor(QPalette::Window, window);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Base, base);
    p.setColor(QPalette::AlternateBase, QColor(0xf7, 0xf8, 0xfa));
    p.setColor(QPalette::Text, text);
    p.setColor(QPalette::Button, QColor(0xfb, 0xfb, 0xfc));
    p.setColor(QPalette::ButtonText, text);
    p.setColor(QPalette::Highlight, QColor(0x2f, 0x6f, 0xeb));
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::PlaceholderText, QColor(0x7a, 0x7f, 0x89));
    p.setColor(QPalette::ToolTipBase, QColor(0x2a, 0x2c, 0x31));
    p.setColor(QPalette::ToolTipText, Qt::white);
    p.setColor(QPalette::Mid, QColor(0xd5, 0xd8, 0xde));
    p.setColor(QPalette::Dark, QColor(0xb8, 0xbc, 0xc4));
    p.setColor(QPalette::Light, Qt::white);
    p.setColor(QPalette::Disabled, QPalette::Text, QColor(0xa5, 0xa9, 0xb1));
    p.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0xa5, 0xa9, 0xb1));
    p.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0xa5, 0xa9, 0xb1));
    return p;
}

QPalette darkPalette() {
    QPalette p;
    const QColor window(0x1c, 0x1d, 0x21), base(0x24, 0x25, 0x2a), text(0xe7, 0xe8, 0xeb);
    p.setColor(QPalette::Window, window);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Base, base);
    p.setColor(QPalette::AlternateBase, QColor(0x29, 0x2a, 0x30));
    p.setColor(QPalette::Text, text);
    p.setColor(QPalette::Button, QColor(0x2d, 0x2f, 0x35));
    p.setColor(QPalette::ButtonText, text);
    p.setColor(QPalette::Highlight, QColor(0x3d, 0x85, 0xf7));
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::PlaceholderText, QColor(0x8d, 0x91, 0x9a));
    p.setColor(QPalette::ToolTipBase, QColor(0x34, 0x36, 0x3c));
    p.setColor(QPalette::ToolTipText, text);
    p.setColor(QPalette::Mid, QColor(0x3a, 0x3c, 0x43));
    p.setColor(QPalette::Dark, QColor(0x14, 0x15, 0x18));
    p.setColor(QPalette::Light, QColor(0x3f, 0x41, 0x48));
    p.setColor(QPalette::Shadow, QColor(0x08, 0x08, 0x0a));
    p.setColor(QPalette::Disabled, QPalette::Text, QColor(0x6b, 0x6e, 0x76));
    p.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0x6b, 0x6e, 0x76));
    p.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x6b, 0x6e, 0x76));
    return p;
}

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
    if (QApplication::style()->name().compare(QStringLiteral("fusion"), Qt::CaseInsensitive) != 0) {
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    }
    QApplication::setPalette(dark ? darkPalette() : lightPalette());
}

bool isDark() {
    return gDark;
}

}  // namespace korvex::Appearance
