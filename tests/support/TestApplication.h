#pragma once

#include <QApplication>

class XSession;

// The one application object of a test program, made on first use and kept to the end.

// On the platform the test command picks (offscreen for widget tests).
QApplication& testApplication();

// On a private X server that lives until the program ends, with a window manager when asked
// (the first call decides). Windows then are real X windows that X tools can see.
QApplication& screenApplication(bool withWindowManager = false);
// That X server; screenApplication() must have been called.
const XSession& screenSession();
