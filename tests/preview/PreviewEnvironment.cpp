#include "support/QtTestApplication.h"

#include <QApplication>

namespace {
const auto* const kApp = korvex::test::registerQtTestApplication<QApplication>("preview_tests");
}  // namespace
