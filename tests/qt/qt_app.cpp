#include "qt_app.h"

#include <gtest/gtest.h>

namespace qttest {

namespace {
QApplication* theApp = nullptr;

struct QtEnvironment : ::testing::Environment {
    void SetUp() override { app(); }
    void TearDown() override {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        delete theApp;
        theApp = nullptr;
    }
};

[[maybe_unused]] ::testing::Environment* const environment = ::testing::AddGlobalTestEnvironment(new QtEnvironment);
} // namespace

QApplication& app() {
    static int argc = 1;
    static char name[] = "test_qt";
    static char* argv[] = {name, nullptr};
    if (!theApp)
        theApp = new QApplication(argc, argv);
    return *theApp;
}

} // namespace qttest
