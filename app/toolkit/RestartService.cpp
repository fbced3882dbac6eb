#include "app/toolkit/RestartService.h"

#include <QCoreApplication>
#include <QProcess>

namespace korvex {

void RestartService::restart() {
    for (const auto& callback : mBefore) {
        callback();
    }
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    QProcess::startDetached(QCoreApplication::applicationFilePath(), arguments);
    // A hung call may keep a worker thread in the kernel: leave without
    // waiting for it.
    QCoreApplication::exit(0);
}

void RestartService::decline() {
    for (const auto& callback : mDeclined) {
        callback();
    }
}

}  // namespace korvex
