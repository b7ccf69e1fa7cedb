#pragma once

#include <QRegion>
#include <xcb/xcb.h>

// A window's outline in device pixels, set on the native window below the toolkit, whose
// mask follows whole logical pixels only: the bounding shape is what shows, the input shape
// what takes the mouse. Nothing happens off an X display.
void x11ShapeWindow(xcb_window_t window, const QRegion& bounding, const QRegion& input);

// Either shape of a window as the server holds it; the whole window when it has none.
QRegion x11WindowShape(xcb_connection_t* connection, xcb_window_t window, bool input);
