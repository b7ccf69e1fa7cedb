#pragma once

class QWidget;

// How the desktop lists and places a top-level window. Call these while the window is about
// to be mapped, at every show: window managers forget the requests when a window is hidden.
// They do nothing off X11.

// Keeps the window off the taskbar and the pager.
void keepOffTaskbar(QWidget& window);

// Puts the window on every workspace, as a desktop companion stays on screen whichever the
// user switches to. A window-manager rule may still keep it on one.
void keepOnEveryWorkspace(QWidget& window);
