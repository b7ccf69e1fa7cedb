#include "clock/SmoothCanvas.h"

#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

QPolygonF polygonOf(std::span<const QPoint> points) {
    QPolygonF polygon;
    polygon.reserve(qsizetype(points.size()));
    for (const QPoint p : points)
        polygon.append(p);
    return polygon;
}

QPen penOf(QRgb colour) {
    // Round joins end a tip where its outline pixel ends at 1x, not beyond.
    return QPen(QColor::fromRgb(colour), 1.0, Qt::SolidLine, Qt::SquareCap, Qt::RoundJoin);
}

} // namespace

SmoothCanvas::SmoothCanvas(QImage& image) : ratio_(image.devicePixelRatio()), painter_(image) {
    painter_.setRenderHint(QPainter::Antialiasing);
    // A pixel point at 1x is the pixel's whole square, whose centre lies half a pixel on.
    painter_.translate(0.5, 0.5);
}

void SmoothCanvas::use(PenMode mode, const QPen& pen, const QBrush& brush) {
    painter_.setCompositionMode(mode == PenMode::Copy ? QPainter::CompositionMode_SourceOver
                                                      : QPainter::CompositionMode_Multiply);
    painter_.setPen(pen);
    painter_.setBrush(brush);
}

void SmoothCanvas::line(QPoint a, QPoint b, QRgb colour, PenMode mode) {
    const int steps = std::max(std::abs(b.x() - a.x()), std::abs(b.y() - a.y()));
    if (steps == 0)
        return;
    // RasterCanvas's points from a up to the last before b, each a whole pixel: a band one
    // pixel wide through them, reaching half a pixel past the first and the last.
    const QPointF from(a);
    const QPointF to = from + QPointF(b - a) * (steps - 1) / steps;
    const qreal length = std::hypot(to.x() - from.x(), to.y() - from.y());
    const QPointF along = length > 0 ? (to - from) / length : QPointF(1, 0);
    const QPointF across(-along.y() / 2, along.x() / 2);
    const QPointF start = from - along / 2;
    const QPointF end = to + along / 2;
    // In short pieces: the raster engine gives a blend of many spans, which a long soft edge
    // makes, to helper threads, and the second hand would wake them every second.
    constexpr qreal kPieceLength = 16; // device pixels
    const int pieces = int(std::ceil((length + 1) * ratio_ / kPieceLength));
    use(mode, Qt::NoPen, QColor::fromRgb(colour));
    for (int k = 0; k < pieces; ++k) {
        const QPointF p = start + (end - start) * k / pieces;
        const QPointF q = start + (end - start) * (k + 1) / pieces;
        painter_.drawPolygon(QPolygonF{p + across, q + across, q - across, p - across});
    }
}

void SmoothCanvas::fillPolygon(std::span<const QPoint> points, QRgb colour, PenMode mode) {
    if (points.size() < 3)
        return;
    QPainterPath path;
    path.addPolygon(polygonOf(points));
    fill(path, colour, mode);
}

void SmoothCanvas::fill(const QPainterPath& path, QRgb colour, PenMode mode) {
    use(mode, Qt::NoPen, QColor::fromRgb(colour));
    if (mode == PenMode::Copy) {
        painter_.drawPath(path);
        return;
    }
    // A multiply is no plain fill: the raster engine gives a blend of many spans to helper
    // threads. In bands of a few device rows it keeps it here.
    constexpr int kBandRows = 8;
    const QRectF bounds = path.boundingRect().adjusted(-1, -1, 1, 1);
    const int first = int(std::floor((bounds.top() + 0.5) * ratio_));
    const int last = int(std::ceil((bounds.bottom() + 0.5) * ratio_));
    for (int top = first; top < last; top += kBandRows) {
        painter_.setClipRect(
            QRectF(bounds.left(), top / ratio_ - 0.5, bounds.width(), kBandRows / ratio_));
        painter_.drawPath(path);
    }
    painter_.setClipping(false);
}

void SmoothCanvas::outlinePolygon(std::span<const QPoint> points, QRgb colour, PenMode mode) {
    use(mode, penOf(colour), Qt::NoBrush);
    painter_.drawPolygon(polygonOf(points));
}

void SmoothCanvas::ellipse(EdgeBox box, QRgb brush, QRgb pen, PenMode mode) {
    if (box.right <= box.left || box.bottom <= box.top)
        return;
    // The box's edges are pixel edges, half a pixel off the pixel points.
    const QRectF outer = QRectF(box.left, box.top, box.right - box.left, box.bottom - box.top)
                             .translated(-0.5, -0.5);
    const QRectF inner = outer.adjusted(1, 1, -1, -1);
    QPainterPath rim;
    rim.addEllipse(outer);
    if (pen == brush || inner.isEmpty()) {
        fill(rim, pen, mode);
        return;
    }
    // The rim a ring of its own, so that no pixel is masked twice.
    rim.addEllipse(inner);
    fill(rim, pen, mode);
    QPainterPath middle;
    middle.addEllipse(inner);
    fill(middle, brush, mode);
}
