#pragma once

#include <QPoint>
#include <QSize>
#include <array>

// A hand's outline in its own coordinates: along +y, tip at (0, L), tail at (0, -T).
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
    int Lm = 0; // minute hand
    int Lh = 0; // hour hand
    int Ls = 0; // second hand
    int T = 12; // tail behind the centre, every hand
    std::array<double, 60> SinTable{};
    std::array<double, 60> CosTable{};
    HandShape MinuteHandShape;
    HandShape HourHandShape;

    // The point at distance d from the centre towards minute position i (0 up, clockwise).
    QPoint DialPoint(int i, int d) const;
    // A point of a hand shape turned to minute position i and moved to the centre.
    QPoint RotateHandPoint(int i, QPoint p) const;
    std::array<QPoint, 6> placeHand(const HandShape& shape, int position) const;

    static HandShape handShape(int halfWidth, int length, int tail);

private:
    static int wrap(int i);
};
