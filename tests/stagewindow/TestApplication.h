#pragma once

#include <QApplication>

// The one application object that every test in this program shares.
inline QApplication& testApplication() {
    static int argc = 1;
    static char name[] = "test_stagewindow";
    static char* argv[] = {name, nullptr};
    static QApplication* instance = new QApplication(argc, argv);
    return *instance;
}
