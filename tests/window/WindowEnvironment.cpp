#include "diagram/volumes/TargetIcons.h"
#include "platform/qtloop/QtMainQueueDriver.h"
#include "support/QtTestApplication.h"

#include <QApplication>

namespace {
// One application for the program; the scan model reports through the main
// queue, which the driver serves from the Qt event loop.
const auto* const kApp = korvex::test::registerQtTestApplication<QApplication>("window_tests", [] {
    new korvex::platform::QtMainQueueDriver(qApp);
    korvex::useSystemIconThemeWhenUnset();
});
}  // namespace
