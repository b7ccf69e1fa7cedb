#pragma once

#include <QString>

// Chooses the X11 platform, and how it paints, and tells whether a display can be reached,
// before the toolkit starts (it aborts the process when it cannot connect). Empty when all
// is well, otherwise the one line to print.
QString prepareDisplay();
