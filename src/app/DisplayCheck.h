#pragma once

#include <QString>

// Chooses the X11 platform, and how it paints, and tells whether a display can be reached,
// before the toolkit starts (it aborts the process when it cannot connect). The display and
// the platform are the command line's, empty when not given there.
struct DisplayChoice {
    // One line each, empty when there is nothing to say: what was chosen for the user, and
    // why she cannot start.
    QString notice;
    QString problem;
};
DisplayChoice prepareDisplay(const QString& display, const QString& platform);
