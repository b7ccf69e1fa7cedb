#pragma once

#include "clock/DialGeometry.h"

#include <QPoint>

// The analog rendering: hour and minute hands into the dial image, the second hand over
// its copy on screen. On a RasterCanvas at 1x, or a SmoothCanvas above it, with the same
// geometry in the same pixel coordinates.
namespace AnalogHands {

// A hand's silver shadow, moved by shadow pixels and darkening what lies beneath, then
// its aqua body with a black outline.
template <class Canvas> void drawHand(Canvas& canvas, const QPoint* points, int count, int shadow);

// The hour hand first, so that the minute hand and its shadow lie over it.
template <class Canvas>
void drawHourAndMinute(Canvas& canvas, const DialGeometry& geometry, int hour, int minute);

template <class Canvas> void drawSeconds(Canvas& canvas, const DialGeometry& geometry, int second);

} // namespace AnalogHands
