#include <gtest/gtest.h>
#include <QApplication>

#include <memory>

namespace {

// Widgets need one application for the whole run; it draws offscreen.
class WidgetEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "preview_tests";
        static char* argv[] = {name, nullptr};
        app = std::make_unique<QApplication>(argc, argv);
    }
    void TearDown() override { app.reset(); }
    std::unique_ptr<QApplication> app;
};

const auto* const kWidgets = ::testing::AddGlobalTestEnvironment(new WidgetEnvironment);

}  // namespace
