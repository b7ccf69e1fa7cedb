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
    // The command line's -platform is set aside: it names one she cannot run on.
    bool dropPlatformOption = false;
};
DisplayChoice prepareDisplay(const QString& display, const QString& platform);

// Takes the toolkit's -platform option and its value out of the arguments.
void dropPlatformOption(int& argc, char** argv);
