#pragma once

#include <QImage>
#include <QPainterPath>
#include <QPoint>
#include <QRect>
#include <QRegion>
#include <QSize>
#include <array>
#include <optional>

// Where the speech balloon goes and what shape it has: plain integer geometry.
//
// Corners are the corner of the balloon that holds the tail's tip: 0 top-left (the balloon
// lies right of and below her mouth), 1 top-right (left, below), 2 bottom-left (right,
// above), 3 bottom-right (left, above).

// The tail's tip and base points in the balloon's client coordinates, tip first.
using TailPoints = std::array<QPoint, 3>;

// The corner for a stage window at stageTopLeft with the given client size, by where its
// centre lies on the screen (the screen's geometry on the desktop): the left or the right
// half, and a rule for above or below that repeats in the upper and the lower half.
int balloonCorner(QPoint stageTopLeft, QSize stageClient, const QRect& screen);

struct BalloonPlacement {
    // The balloon's top-left on the desktop.
    QPoint position;
    // None without a corner.
    std::optional<TailPoints> tail;
};

// Puts the tail's tip of the given corner on the matching corner of the mouth area (given
// in the stage window's coordinates). The tail's base lies on the top or bottom edge of
// tailGuide, 48 pixels wide from its left or right end. Without a corner (-1) the balloon's
// origin goes to the mouth area's centre and it has no tail.
BalloonPlacement placeBalloon(int corner, QPoint stageTopLeft, const QRect& mouthArea,
                              QSize balloonClient, const QRect& tailGuide);

// The rounded body over bodyArea, with corners cut by 8 x 8 ellipses, joined with the tail.
// None when the body area is empty.
std::optional<QRegion> balloonShape(const QRect& bodyArea, const std::optional<TailPoints>& tail);

// The ideal outline that balloonShape follows, in logical coordinates where whole numbers are
// the pixels' edges: the body with corners of 4-pixel radius, and the tail through the middles
// of the pixels at its points.
QPainterPath balloonPath(const QRect& bodyArea, const std::optional<TailPoints>& tail);

// The balloon drawn in device pixels, for a window of clientSize logical pixels.
struct BalloonOutline {
    qreal ratio = 1;
    // The device pixels the balloon covers: balloonShape at a ratio of 1, else the pixels
    // that the ideal outline scaled by the ratio covers at least half.
    QRegion shape;
    // The device pixels outside the shape that the ideal outline partly covers.
    QRegion fringe;
    // The window's picture: white inside the shape, a black outline one logical pixel wide
    // along its inner edge, the fringe black at its coverage, transparent elsewhere.
    QImage picture;
};

// None when the body area is empty. A ratio that is not above 0 counts as 1.
std::optional<BalloonOutline> balloonOutline(const QRect& bodyArea,
                                             const std::optional<TailPoints>& tail,
                                             QSize clientSize, qreal ratio);

// The top of a line of text lineHeight high that the form puts at formTop, lifted when it
// would come near the body's outline: the line then ends a row of white above it.
int lineTopInsideBody(int formTop, int lineHeight, const QRect& bodyArea);

// The band along the inside of a region's edges, width pixels wide, where its outline is drawn.
QRegion regionFrame(const QRegion& region, int width = 1);
