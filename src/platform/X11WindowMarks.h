#pragma once

#include <QByteArray>
#include <xcb/xcb.h>

// Marks on a native window that window managers and compositors read as they take it: the
// role that window-manager rules match, and no shadow under it (the property picom and its
// forerunners read). The toolkit sets neither on a native window it makes anew. Nothing
// happens off an X display.
void x11MarkWindow(xcb_window_t window, const QByteArray& role);

// Whether the server holds the window as mapped: a window manager may have released it
// while the toolkit still counts it as shown.
bool x11WindowMapped(xcb_window_t window);
