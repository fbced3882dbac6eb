#include "diagram/volumes/TargetIcons.h"
#include "support/QtTestApplication.h"

#include <QApplication>

namespace {
// The widgets draw offscreen, with the system's icon folders when no theme is set.
const auto* const kApp = korvex::test::registerQtTestApplication<QApplication>(
    "volumes_tests", [] { korvex::useSystemIconThemeWhenUnset(); });
}  // namespace
