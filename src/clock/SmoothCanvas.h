#pragma once

#include "clock/ImagePainter.h"
#include "clock/RasterCanvas.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <span>

// RasterCanvas's drawing in the same pixel coordinates on an image of a higher device pixel
// ratio, at that resolution: antialiased, each pixel point the centre of a logical pixel,
// every pen one logical pixel wide. A Mask darkens by a multiply, as an AND would blot the
// soft edges.
class SmoothCanvas {
public:
    using PenMode = RasterCanvas::PenMode;

    explicit SmoothCanvas(QImage& image);

    void line(QPoint a, QPoint b, QRgb colour, PenMode mode);
    void fillPolygon(std::span<const QPoint> points, QRgb colour, PenMode mode);
    void outlinePolygon(std::span<const QPoint> points, QRgb colour, PenMode mode);
    void ellipse(EdgeBox box, QRgb brush, QRgb pen, PenMode mode);

private:
    void use(PenMode mode, const QPen& pen, const QBrush& brush);
    void fill(const QPainterPath& path, QRgb colour, PenMode mode);

    qreal ratio_;
    ImagePainter painter_;
};
