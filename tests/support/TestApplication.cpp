#include "support/TestApplication.h"

#include "support/XSession.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace {
int argc = 1;
char name[] = "hourling_test";
char* argv[] = {name, nullptr};

QApplication* application = nullptr;
XSession* session = nullptr;

void endScreenSession() {
    // The application's connection goes before its server.
    delete application;
    application = nullptr;
    delete session;
    session = nullptr;
}
// Ends them when the tests have run, before the exit handlers: by then the toolkit's own
// statics made after ours are gone, and the application's end would use them.
class ScreenSessionEnd : public ::testing::Environment {
public:
    void TearDown() override { endScreenSession(); }
};
} // namespace

QApplication& testApplication() {
    if (!application)
        application = new QApplication(argc, argv);
    return *application;
}

QApplication& screenApplication(bool withWindowManager) {
    if (!application) {
        session = new XSession();
        // Without its server the application stays offscreen, and tests that check
        // screenSession().ok() fail with a reason rather than abort.
        if (session->ok()) {
            if (withWindowManager)
                session->startWindowManager();
            qputenv("DISPLAY", session->display().toLatin1());
            qputenv("QT_QPA_PLATFORM", "xcb");
            qunsetenv("WAYLAND_DISPLAY");
        }
        application = new QApplication(argc, argv);
        ::testing::AddGlobalTestEnvironment(new ScreenSessionEnd);
        std::atexit(endScreenSession);
    }
    return *application;
}

const XSession& screenSession() {
    return *session;
}
