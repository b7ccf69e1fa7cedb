#include "clock/DialGeometry.h"

#include <cmath>

namespace {
// Pi as a float: the hands' pixels depend on it (2:00 puts the hour tip at (96, 45)).
constexpr double kPi = static_cast<double>(3.1415927f);
} // namespace

DialGeometry::DialGeometry(QSize boxSize) : centre(boxSize.width() / 2, boxSize.height() / 2) {
    const int r = boxSize.width() / 2;
    minuteHandLength = static_cast<int>(r * 0.8);
    hourHandLength = static_cast<int>(minuteHandLength * 0.75);
    secondHandLength = static_cast<int>(minuteHandLength * 0.9);
    for (int i = 0; i < 60; ++i) {
        const double radians = ((i + 30) % 60) * 6 * kPi / 180;
        sinTable[i] = std::sin(radians);
        cosTable[i] = std::cos(radians);
    }
    // The quarters exactly, so that 3, 6, 9 and 12 o'clock lie on the axes.
    sinTable[0] = 0;
    sinTable[15] = -1;
    sinTable[30] = 0;
    sinTable[45] = 1;
    cosTable[0] = -1;
    cosTable[15] = 0;
    cosTable[30] = 1;
    cosTable[45] = 0;
    minuteHandShape = handShape(4, minuteHandLength, tailLength);
    hourHandShape = handShape(6, hourHandLength, tailLength);
}

HandShape DialGeometry::handShape(int halfWidth, int length, int tail) {
    const int w = halfWidth;
    const int L = length;
    return {{QPoint(0, L), QPoint(-w, L - 4), QPoint(-w, -(tail - 4)), QPoint(0, -tail),
             QPoint(w, -(tail - 4)), QPoint(w, L - 4)},
            6};
}

int DialGeometry::wrap(int i) {
    return ((i % 60) + 60) % 60;
}

QPoint DialGeometry::dialPoint(int i, int d) const {
    const double s = sinTable[wrap(i)];
    const double c = cosTable[wrap(i)];
    return QPoint(static_cast<int>(centre.x() - d * s), static_cast<int>(centre.y() + d * c));
}

QPoint DialGeometry::rotateHandPoint(int i, QPoint p) const {
    const double s = sinTable[wrap(i)];
    const double c = cosTable[wrap(i)];
    const double x = p.x();
    const double y = p.y();
    return QPoint(static_cast<int>(centre.x() + (x * c - y * s)),
                  static_cast<int>(centre.y() + (x * s + y * c)));
}

std::array<QPoint, 6> DialGeometry::placeHand(const HandShape& shape, int position) const {
    std::array<QPoint, 6> placed;
    for (int k = 0; k < shape.count; ++k)
        placed[k] = rotateHandPoint(position, shape.points[k]);
    return placed;
}
