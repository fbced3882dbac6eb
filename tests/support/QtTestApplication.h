#pragma once

#include <gtest/gtest.h>
#include <QByteArray>

#include <functional>
#include <memory>

namespace korvex::test {

// One Qt application for a whole test program, drawing on the offscreen
// platform. Register it once per program:
//   const auto* const kApp = registerQtTestApplication<QApplication>("name");
template <class App>
class QtTestApplication : public ::testing::Environment {
  public:
    QtTestApplication(const char* name, std::function<void()> afterStart)
        : mName(name), mAfterStart(std::move(afterStart)) {}
    void SetUp() override {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        mArgv[0] = mName.data();
        mApp = std::make_unique<App>(mArgc, mArgv);
        if (mAfterStart) {
            mAfterStart();
        }
    }
    void TearDown() override { mApp.reset(); }

  private:
    QByteArray mName;
    std::function<void()> mAfterStart;
    int mArgc = 1;
    char* mArgv[2] = {nullptr, nullptr};
    std::unique_ptr<App> mApp;
};

template <class App>
::testing::Environment* registerQtTestApplication(const char* name,
                                                  std::function<void()> afterStart = {}) {
    return ::testing::AddGlobalTestEnvironment(
        new QtTestApplication<App>(name, std::move(afterStart)));
}

}  // namespace korvex::test
