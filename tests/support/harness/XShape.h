#pragma once

#include <QImage>
#include <QRegion>

class XSession;

// The bounding shape that the X server holds for a window, in the window's coordinates;
// empty when the window has none or cannot be read.
QRegion boundingShapeOf(const XSession& session, qulonglong window);
// Likewise the input shape: where the window takes the mouse.
QRegion inputShapeOf(const XSession& session, qulonglong window);

// The window's own pixels as the server holds them, with their alpha for a 32-bit window;
// null when they cannot be read.
QImage windowPixelsOf(const XSession& session, qulonglong window);

// The screen as a compositing manager shows it, read from its overlay window: the root's
// own pixels would show every redirected window as opaque.
QImage compositedScreenOf(const XSession& session);
