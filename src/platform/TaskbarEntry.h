#pragma once

class QWidget;

// Keeps a top-level window off the taskbar and the pager. Call it while the window is about
// to be mapped, at every show: window managers forget the request when a window is hidden.
// Does nothing off X11.
void keepOffTaskbar(QWidget& window);
