#pragma once

#include <QImage>
#include <QPoint>
#include <span>

// A box given as left, top, right, bottom, where right and bottom lie just outside.
struct EdgeBox {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// One-pixel-pen drawing on a 32-bit image with exact raster modes, where QPainter's
// antialiasing and fill rules would blur the dial's pixel geometry. Pixels are points at
// their integer coordinates; whatever falls outside the image is dropped.
class RasterCanvas {
public:
    enum class PenMode {
        Copy, // the colour replaces the pixel
        Mask  // the pixel becomes pixel AND colour: it can only darken
    };

    // The image must be Format_RGB32, Format_ARGB32 or Format_ARGB32_Premultiplied; the
    // colours are opaque, so a copy or an AND keeps a premultiplied pixel valid.
    explicit RasterCanvas(QImage& image);

    // From a up to b, without b itself, so that joined lines never paint a point twice.
    void line(QPoint a, QPoint b, QRgb colour, PenMode mode);
    // Interior by the even-odd rule; points on left and top edges are inside, on right and
    // bottom edges outside.
    void fillPolygon(std::span<const QPoint> points, QRgb colour, PenMode mode);
    void outlinePolygon(std::span<const QPoint> points, QRgb colour, PenMode mode);
    // The ellipse that fills the box; its rim in the pen colour, the rest in the brush's.
    void ellipse(EdgeBox box, QRgb brush, QRgb pen, PenMode mode);

    void plot(int x, int y, QRgb colour, PenMode mode);

private:
    QImage& image_;
};
