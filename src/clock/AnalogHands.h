#pragma once

#include "clock/DialGeometry.h"
#include "clock/RasterCanvas.h"

#include <QPoint>

// The analog rendering: hour and minute hands into the dial image, the second hand over
// its copy on screen.
namespace AnalogHands {

// A hand's silver shadow, moved by shadow pixels and darkening what lies beneath, then
// its aqua body with a black outline.
void drawHand(RasterCanvas& canvas, const QPoint* points, int count, int shadow);

// The hour hand first, so that the minute hand and its shadow lie over it.
void drawHourAndMinute(RasterCanvas& canvas, const DialGeometry& geometry, int hour, int minute);

void drawSeconds(RasterCanvas& canvas, const DialGeometry& geometry, int second);

} // namespace AnalogHands
