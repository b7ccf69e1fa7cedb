#pragma once

#include <QByteArray>
#include <xcb/xcb.h>

// Marks on a native window that window managers and compositors read as they take it: the
// role that window-manager rules match, and no shadow under it (the property picom and its
// forerunners read). The toolkit sets neither on a native window it makes anew. Nothing
// happens off an X display.
void x11MarkWindow(xcb_window_t window, const QByteArray& role);

// Compositors read the no-shadow mark on the window a window manager frames ours in, the
// one that stands on the root: it is marked too, whatever frame the manager gives it.
void x11MarkFrameOf(xcb_window_t window);

// Whether the server holds the window as mapped: a window manager may have released it
// while the toolkit still counts it as shown.
bool x11WindowMapped(xcb_window_t window);
