#pragma once

#include <QPoint>
#include <QRect>
#include <QRegion>
#include <QSize>
#include <QString>
#include <ostream>

// Readable Qt values in test failures.
inline void PrintTo(const QPoint& p, std::ostream* out) {
    *out << "(" << p.x() << ", " << p.y() << ")";
}
inline void PrintTo(const QSize& s, std::ostream* out) {
    *out << s.width() << " x " << s.height();
}
inline void PrintTo(const QRect& r, std::ostream* out) {
    *out << "(" << r.x() << ", " << r.y() << ") " << r.width() << " x " << r.height();
}
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QRegion& region, std::ostream* out) {
    *out << "region of " << region.rectCount() << " rectangles within ";
    PrintTo(region.boundingRect(), out);
}
