#include "clock/DialGeometry.h"

#include <cmath>

namespace {
// Pi as a float: the hands' pixels depend on it (2:00 puts the hour tip at (96, 45)).
constexpr double kPi = static_cast<double>(3.1415927f);
} // namespace

DialGeometry::DialGeometry(QSize boxSize) : centre(boxSize.width() / 2, boxSize.height() / 2) {
    const int r = boxSize.width() / 2;
    Lm = static_cast<int>(r * 0.8);
    Lh = static_cast<int>(Lm * 0.75);
    Ls = static_cast<int>(Lm * 0.9);
    for (int i = 0; i < 60; ++i) {
        const double radians = ((i + 30) % 60) * 6 * kPi / 180;
        SinTable[i] = std::sin(radians);
        CosTable[i] = std::cos(radians);
    }
    // The quarters exactly, so that 3, 6, 9 and 12 o'clock lie on the axes.
    SinTable[0] = 0;
    SinTable[15] = -1;
    SinTable[30] = 0;
    SinTable[45] = 1;
    CosTable[0] = -1;
    CosTable[15] = 0;
    CosTable[30] = 1;
    CosTable[45] = 0;
    MinuteHandShape = handShape(4, Lm, T);
    HourHandShape = handShape(6, Lh, T);
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

QPoint DialGeometry::DialPoint(int i, int d) const {
    const double s = SinTable[wrap(i)];
    const double c = CosTable[wrap(i)];
    return QPoint(static_cast<int>(centre.x() - d * s), static_cast<int>(centre.y() + d * c));
}

QPoint DialGeometry::RotateHandPoint(int i, QPoint p) const {
    const double s = SinTable[wrap(i)];
    const double c = CosTable[wrap(i)];
    const double x = p.x();
    const double y = p.y();
    return QPoint(static_cast<int>(centre.x() + (x * c - y * s)),
                  static_cast<int>(centre.y() + (x * s + y * c)));
}

std::array<QPoint, 6> DialGeometry::placeHand(const HandShape& shape, int position) const {
    std::array<QPoint, 6> placed;
    for (int k = 0; k < shape.count; ++k)
        placed[k] = RotateHandPoint(position, shape.points[k]);
    return placed;
}
