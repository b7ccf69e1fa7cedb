#include "support/TestApplication.h"

QApplication& testApplication() {
    static int argc = 1;
    static char name[] = "hourling_test";
    static char* argv[] = {name, nullptr};
    // Never destroyed: windows that tests leave behind must not outlive it.
    static QApplication* instance = new QApplication(argc, argv);
    return *instance;
}
