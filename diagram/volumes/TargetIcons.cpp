#include "diagram/volumes/TargetIcons.h"

#include <QApplication>
#include <QDir>
#include <QStyle>

#include <array>
#include <cstddef>
#include <initializer_list>

namespace korvex {

namespace {
QIcon firstThemed(std::initializer_list<const char*> names) {
    for (const char* name : names) {
        QIcon icon = QIcon::fromTheme(QString::fromLatin1(name));
        if (!icon.isNull()) {
            return icon;
        }
    }
    return {};
}

QStyle::StandardPixmap styleFallback(TargetKind kind) {
    switch (kind) {
        case TargetKind::NetworkDisk:
            return QStyle::SP_DriveNetIcon;
        case TargetKind::OpticalDisk:
        case TargetKind::DiskImage:
            return QStyle::SP_DriveCDIcon;
        case TargetKind::Home:
            return QStyle::SP_DirHomeIcon;
        case TargetKind::Folder:
            return QStyle::SP_DirIcon;
        case TargetKind::InternalDisk:
        case TargetKind::ExternalDisk:
            break;
    }
    return QStyle::SP_DriveHDIcon;
}
}  // namespace

void useSystemIconThemeWhenUnset() {
    QStringList paths = QIcon::themeSearchPaths();
    QString dataDirs = qEnvironmentVariable("XDG_DATA_DIRS");
    if (dataDirs.isEmpty()) {
        dataDirs = QStringLiteral("/usr/local/share:/usr/share");
    }
    for (const QString& dir : dataDirs.split(u':', Qt::SkipEmptyParts)) {
        QString icons = dir + QStringLiteral("/icons");
        if (!paths.contains(icons) && QDir(icons).exists()) {
            paths.append(icons);
        }
    }
    QIcon::setThemeSearchPaths(paths);
    if (!QIcon::themeName().isEmpty() && QIcon::themeName() != QLatin1String("hicolor")) {
        return;
    }
    for (const char* theme : {"Adwaita", "breeze", "gnome"}) {
        for (const QString& path : paths) {
            if (QDir(path + u'/' + QLatin1String(theme)).exists()) {
                QIcon::setThemeName(QLatin1String(theme));
                return;
            }
        }
    }
}

namespace {

QIcon lookUpIcon(TargetKind kind) {
    QIcon icon;
    switch (kind) {
        case TargetKind::InternalDisk:
            icon = firstThemed({"drive-harddisk", "drive-harddisk-solidstate"});
            break;
        case TargetKind::ExternalDisk:
            icon = firstThemed(
                {"drive-harddisk-usb", "drive-removable-media-usb", "drive-removable-media"});
            break;
        case TargetKind::NetworkDisk:
            icon = firstThemed({"folder-remote", "network-server", "network-workgroup"});
            break;
        case TargetKind::DiskImage:
            icon = firstThemed({"application-x-cd-image", "media-removable", "media-flash"});
            break;
        case TargetKind::OpticalDisk:
            icon = firstThemed({"media-optical", "drive-optical"});
            break;
        case TargetKind::Home:
            icon = firstThemed({"user-home", "go-home"});
            break;
        case TargetKind::Folder:
            icon = firstThemed({"folder"});
            break;
    }
    if (icon.isNull() && qApp != nullptr) {
        icon = QApplication::style()->standardIcon(styleFallback(kind));
    }
    return icon;
}

}  // namespace

QIcon iconForTargetKind(TargetKind kind) {
    // Rows are painted many times a second while a scan runs, and a style
    // reads its own icons from their image files each time it is asked.
    struct Cache {
        QString theme;
        const QStyle* style = nullptr;
        std::array<QIcon, static_cast<std::size_t>(TargetKind::Folder) + 1> icons;
    };
    static Cache* const cache = new Cache;  // outlives the application's icons
    const QStyle* style = qApp != nullptr ? QApplication::style() : nullptr;
    if (cache->theme != QIcon::themeName() || cache->style != style) {
        *cache = Cache{QIcon::themeName(), style, {}};
    }
    QIcon& icon = cache->icons.at(static_cast<std::size_t>(kind));
    if (icon.isNull()) {
        icon = lookUpIcon(kind);
    }
    return icon;
}

}  // namespace korvex
