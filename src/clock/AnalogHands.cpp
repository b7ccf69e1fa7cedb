#include "clock/AnalogHands.h"

#include "clock/DialColours.h"
#include "clock/RasterCanvas.h"
#include "clock/SmoothCanvas.h"

#include <span>

using PenMode = RasterCanvas::PenMode;

template <class Canvas>
void AnalogHands::drawHand(Canvas& canvas, const QPoint* points, int count, int shadow) {
    std::array<QPoint, 6> moved;
    const int n = std::min<int>(count, moved.size());
    for (int k = 0; k < n; ++k)
        moved[k] = points[k] + QPoint(shadow, shadow);
    // The shadow has no outline.
    canvas.fillPolygon(std::span(moved.data(), n), DialColours::kSilver, PenMode::Mask);
    const std::span body(points, n);
    canvas.fillPolygon(body, DialColours::kAqua, PenMode::Copy);
    canvas.outlinePolygon(body, DialColours::kBlack, PenMode::Copy);
}

template <class Canvas>
void AnalogHands::drawHourAndMinute(Canvas& canvas, const DialGeometry& geometry, int hour,
                                    int minute) {
    // The hour hand moves on by one position every 12 minutes.
    const int hourPosition = minute / 12 + (hour % 12) * 5;
    const auto hourHand = geometry.placeHand(geometry.hourHandShape, hourPosition);
    drawHand(canvas, hourHand.data(), geometry.hourHandShape.count, 1);
    const auto minuteHand = geometry.placeHand(geometry.minuteHandShape, minute % 60);
    drawHand(canvas, minuteHand.data(), geometry.minuteHandShape.count, 2);
}

template <class Canvas>
void AnalogHands::drawSeconds(Canvas& canvas, const DialGeometry& geometry, int second) {
    const QPoint tip = geometry.dialPoint(second, geometry.secondHandLength);
    const QPoint tail = geometry.dialPoint(second, -geometry.tailLength);
    const QPoint shadow(2, 2);
    const int cx = geometry.centre.x();
    const int cy = geometry.centre.y();
    canvas.line(tip + shadow, tail + shadow, DialColours::kSilver, PenMode::Mask);
    // The cap's shadow lies one pixel off, the hand's two.
    canvas.ellipse({cx - 3, cy - 3, cx + 5, cy + 5}, DialColours::kSilver, DialColours::kSilver,
                   PenMode::Mask);
    canvas.line(tip, tail, DialColours::kRed, PenMode::Copy);
    canvas.ellipse({cx - 4, cy - 4, cx + 4, cy + 4}, DialColours::kRed, DialColours::kRed,
                   PenMode::Copy);
}

template void AnalogHands::drawHand(RasterCanvas&, const QPoint*, int, int);
template void AnalogHands::drawHourAndMinute(RasterCanvas&, const DialGeometry&, int, int);
template void AnalogHands::drawSeconds(RasterCanvas&, const DialGeometry&, int);
template void AnalogHands::drawHand(SmoothCanvas&, const QPoint*, int, int);
template void AnalogHands::drawHourAndMinute(SmoothCanvas&, const DialGeometry&, int, int);
template void AnalogHands::drawSeconds(SmoothCanvas&, const DialGeometry&, int);
