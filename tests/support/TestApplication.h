#pragma once

#include <QApplication>

// The one application object of a test program, made on first use and kept to the end.
QApplication& testApplication();
