#include "diagram/volumes/TargetIcons.h"

#include <gtest/gtest.h>
#include <QApplication>

#include <memory>

namespace {

// The widgets need an application; it draws on the offscreen platform.
class GuiEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "volumes_tests";
        static char* argv[] = {name, nullptr};
        app = std::make_unique<QApplication>(argc, argv);
        korvex::useSystemIconThemeWhenUnset();
    }
    void TearDown() override { app.reset(); }
    std::unique_ptr<QApplication> app;
};

const auto* const kGui = ::testing::AddGlobalTestEnvironment(new GuiEnvironment);

}  // namespace
