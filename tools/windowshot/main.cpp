// korvex-windowshot FOLDER OUT.png [--dark] [--size WxH] [--zoom | --zoom-steps]
//                   [--collect N] [--dragging] [--review] [--remove] [--copy-to DIR]
// Opens the main window, scans FOLDER to the end and writes what the window
// shows as a PNG: how the documentation's pictures are made. With --zoom it
// records the hint and the frames of a zoom into the first folder instead;
// --zoom-steps draws those frames at fixed steps of the zoom's progress. The
// collection's options show the Selected list (CollectionRecording.h).

#include "CollectionRecording.h"
#include "ZoomRecording.h"
#include "app/toolkit/Appearance.h"
#include "app/window/MainWindow.h"
#include "diagram/volumes/TargetIcons.h"
#include "platform/qtloop/QtMainQueueDriver.h"

#include <QApplication>
#include <QFile>
#include <QPixmap>
#include <QTimer>

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QStringList args = QApplication::arguments();
    args.removeFirst();
    bool dark = args.removeAll(QStringLiteral("--dark")) > 0;
    const bool steps = args.removeAll(QStringLiteral("--zoom-steps")) > 0;
    const bool zoom = args.removeAll(QStringLiteral("--zoom")) > 0 || steps;
    const auto collection = korvex::takeCollectionOptions(args);
    QSize size(1320, 820);
    if (const qsizetype at = args.indexOf(QStringLiteral("--size"));
        at >= 0 && at + 1 < args.size()) {
        const QStringList parts = args[at + 1].split(QLatin1Char('x'));
        if (parts.size() == 2) {
            size = QSize(parts[0].toInt(), parts[1].toInt());
        }
        args.remove(at, 2);
    }
    if (args.size() != 2) {
        std::fprintf(stderr,
                     "usage: korvex-windowshot FOLDER OUT.png [--dark] [--size WxH] [--zoom | "
                     "--zoom-steps]\n"
                     "       [--collect N] [--dragging] [--review] [--remove] [--copy-to DIR]\n");
        return 2;
    }
    korvex::platform::QtMainQueueDriver mainQueue;
    korvex::useSystemIconThemeWhenUnset();
    korvex::Appearance::applyToApplication();
    if (dark) {
        korvex::Appearance::setStoredType(2);
    }
    korvex::MainWindow window;
    window.resize(size);
    window.show();
    const QString out = args[1];
    auto& controller = window.treeController();
    QObject::connect(
        &controller, &korvex::CSTreeController::scanningChanged, &app, [&](bool scanning) {
            if (scanning) {
                return;
            }
            // Let the last frames settle before the picture is taken.
            QTimer::singleShot(600, &app, [&] {
                if (zoom) {
                    korvex::recordZoom(
                        window, QString(out).remove(".png"),
                        steps ? korvex::ZoomFrames::Stepped : korvex::ZoomFrames::Timed);
                    return;
                }
                if (collection) {
                    korvex::recordCollection(window, *collection, out);
                    return;
                }
                const bool saved = window.grab().save(out);
                QApplication::exit(saved ? 0 : 1);
            });
        });
    controller.doScanFolder(QFile::encodeName(args[0]).toStdString());
    return QApplication::exec();
}
