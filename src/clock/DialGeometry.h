#pragma once

#include <QPoint>
#include <QSize>
#include <array>

// A hand's outline in its own coordinates: along +y, tip at (0, length), tail at (0, -tail).
struct HandShape {
    std::array<QPoint, 6> points;
    int count = 6;
};

// The integer pixel geometry of the dial, worked out once. Every conversion of a computed
// coordinate or length to an integer truncates toward zero.
class DialGeometry {
public:
    explicit DialGeometry(QSize boxSize = QSize(128, 128));

    QPoint centre;
    int minuteHandLength = 0;
    int hourHandLength = 0;
    int secondHandLength = 0;
    int tailLength = 12; // behind the centre, every hand
    std::array<double, 60> sinTable{};
    std::array<double, 60> cosTable{};
    HandShape minuteHandShape;
    HandShape hourHandShape;

    // The point at distance d from the centre towards minute position i (0 up, clockwise).
    QPoint dialPoint(int i, int d) const;
    // A point of a hand shape turned to minute position i and moved to the centre.
    QPoint rotateHandPoint(int i, QPoint p) const;
    std::array<QPoint, 6> placeHand(const HandShape& shape, int position) const;

    static HandShape handShape(int halfWidth, int length, int tail);

private:
    static int wrap(int i);
};
