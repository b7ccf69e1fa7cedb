#include "clock/RasterCanvas.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace {

// p / n rounded to the nearest integer, halves away from zero; n > 0.
int roundedQuotient(int p, int n) {
    return p >= 0 ? (2 * p + n) / (2 * n) : -((-2 * p + n) / (2 * n));
}

bool insideEllipse(int x, int y, EdgeBox box) {
    const double rx = (box.right - box.left) / 2.0;
    const double ry = (box.bottom - box.top) / 2.0;
    const double cx = (box.left + box.right - 1) / 2.0;
    const double cy = (box.top + box.bottom - 1) / 2.0;
    const double dx = (x - cx) / rx;
    const double dy = (y - cy) / ry;
    return dx * dx + dy * dy <= 1.0;
}

} // namespace

RasterCanvas::RasterCanvas(QImage& image) : image_(image) {
    Q_ASSERT(image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32 ||
             image.format() == QImage::Format_ARGB32_Premultiplied);
}

void RasterCanvas::plot(int x, int y, QRgb colour, PenMode mode) {
    if (x < 0 || y < 0 || x >= image_.width() || y >= image_.height())
        return;
    auto* pixel = reinterpret_cast<QRgb*>(image_.scanLine(y)) + x;
    const QRgb opaque = colour | 0xFF000000u;
    *pixel = mode == PenMode::Copy ? opaque : (*pixel & opaque);
}

void RasterCanvas::line(QPoint a, QPoint b, QRgb colour, PenMode mode) {
    const int dx = b.x() - a.x();
    const int dy = b.y() - a.y();
    const int steps = std::max(std::abs(dx), std::abs(dy));
    for (int i = 0; i < steps; ++i)
        plot(a.x() + roundedQuotient(i * dx, steps), a.y() + roundedQuotient(i * dy, steps), colour,
             mode);
}

void RasterCanvas::fillPolygon(std::span<const QPoint> points, QRgb colour, PenMode mode) {
    if (points.size() < 3)
        return;
    const auto [low, high] = std::minmax_element(points.begin(), points.end(),
                                                 [](QPoint p, QPoint q) { return p.y() < q.y(); });
    const int top = std::max(low->y(), 0);
    const int bottom = std::min(high->y(), image_.height());
    std::vector<double> crossings;
    for (int y = top; y < bottom; ++y) {
        crossings.clear();
        for (std::size_t k = 0; k < points.size(); ++k) {
            const QPoint p = points[k];
            const QPoint q = points[(k + 1) % points.size()];
            if (p.y() == q.y())
                continue;
            // Half-open in y, so a vertex shared by two edges is counted once.
            if (y < std::min(p.y(), q.y()) || y >= std::max(p.y(), q.y()))
                continue;
            crossings.push_back(p.x() + double(y - p.y()) * (q.x() - p.x()) / (q.y() - p.y()));
        }
        std::sort(crossings.begin(), crossings.end());
        for (std::size_t k = 0; k + 1 < crossings.size(); k += 2) {
            const int from = static_cast<int>(std::ceil(crossings[k]));
            const int to = static_cast<int>(std::ceil(crossings[k + 1]));
            for (int x = from; x < to; ++x)
                plot(x, y, colour, mode);
        }
    }
}

void RasterCanvas::outlinePolygon(std::span<const QPoint> points, QRgb colour, PenMode mode) {
    for (std::size_t k = 0; k < points.size(); ++k)
        line(points[k], points[(k + 1) % points.size()], colour, mode);
}

void RasterCanvas::ellipse(EdgeBox box, QRgb brush, QRgb pen, PenMode mode) {
    if (box.right <= box.left || box.bottom <= box.top)
        return;
    for (int y = box.top; y < box.bottom; ++y) {
        for (int x = box.left; x < box.right; ++x) {
            if (!insideEllipse(x, y, box))
                continue;
            const bool rim = !insideEllipse(x - 1, y, box) || !insideEllipse(x + 1, y, box) ||
                             !insideEllipse(x, y - 1, box) || !insideEllipse(x, y + 1, box);
            plot(x, y, rim ? pen : brush, mode);
        }
    }
}
