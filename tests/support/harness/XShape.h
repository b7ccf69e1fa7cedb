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

// The screen as the root holds it. Not xwd's: it pieces together the windows that have a
// colormap of their own from their rectangles, ignoring their shapes, and so shows a black
// box round her that no one sees.
QImage screenPixelsOf(const XSession& session);

// The screen as a compositing manager shows it, read from its overlay window: the root's
// own pixels would show every redirected window as opaque.
QImage compositedScreenOf(const XSession& session);
