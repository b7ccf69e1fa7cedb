#pragma once

#include <QApplication>

// The one application object of a test program, made on first use.
inline QApplication& qtTestApplication() {
    static int argc = 1;
    static char name[] = "test_clock";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
    return app;
}
