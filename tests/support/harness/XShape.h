#pragma once

#include <QRegion>

class XSession;

// The bounding shape that the X server holds for a window, in the window's coordinates;
// empty when the window has none or cannot be read.
QRegion boundingShapeOf(const XSession& session, qulonglong window);
// Likewise the input shape: where the window takes the mouse.
QRegion inputShapeOf(const XSession& session, qulonglong window);
