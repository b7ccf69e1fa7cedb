#include "stage/StageOutline.h"

#include "platform/X11Shape.h"
#include "stage/AssetCatalogue.h"
#include "stage/PixelRegion.h"
#include "stage/StageShape.h"

#include <QPainter>
#include <QWidget>
#include <QWindow>
#include <cmath>

namespace {

std::optional<QRegion> windowShape(qreal ratio) {
    const QPoint dialAt(qRound(kDialOrigin.x() * ratio), qRound(kDialOrigin.y() * ratio));
    return composeWindowRegion(AssetCatalogue::region(kBodyRegion, ratio),
                               AssetCatalogue::region(2, ratio), dialAt);
}

QImage edgePicture(qreal ratio) {
    QImage edge = AssetCatalogue::bitmap(QStringLiteral("StageEdge"), ratio);
    return edge.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

// Every pixel that shows anything.
QRegion visiblePixels(const QImage& image) {
    return pixelRegion(image.width(), image.height(), [&](int x, int y) {
        return qAlpha(reinterpret_cast<const QRgb*>(image.constScanLine(y))[x]) != 0;
    });
}

// The logical pixels that hold any of the device pixels.
QRegion logicalCover(const QRegion& device, qreal ratio) {
    if (qFuzzyCompare(ratio, 1))
        return device;
    QRegion cover;
    for (const QRect& r : device) {
        const int left = int(std::floor(r.x() / ratio));
        const int top = int(std::floor(r.y() / ratio));
        const int right = int(std::ceil((r.x() + r.width()) / ratio));
        const int bottom = int(std::ceil((r.y() + r.height()) / ratio));
        cover += QRect(left, top, right - left, bottom - top);
    }
    return cover;
}

} // namespace

StageOutline::StageOutline(FigureScale scale, bool withFringe)
    : StageOutline(scale, windowShape(scale.ratio()),
                   withFringe ? edgePicture(scale.ratio()) : QImage()) {
    withFringe_ = withFringe;
}

StageOutline::StageOutline(FigureScale scale, std::optional<QRegion> shape, QImage edge)
    : scale_(scale), shape_(std::move(shape)), edge_(std::move(edge)) {
    if (shape_ && shape_->isEmpty())
        shape_.reset();
    // A fringe is drawn around a shape only, and never inside it.
    if (!shape_ || edge_.isNull()) {
        edge_ = QImage();
        return;
    }
    edge_ = edge_.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    edge_.setDevicePixelRatio(1);
    {
        QPainter painter(&edge_);
        painter.setCompositionMode(QPainter::CompositionMode_Clear);
        painter.setClipRegion(*shape_);
        painter.fillRect(edge_.rect(), Qt::transparent);
    }
    fringe_ = visiblePixels(edge_);
}

std::optional<QRegion> StageOutline::paintArea() const {
    if (!shape_)
        return std::nullopt;
    return logicalCover(*shape_ | fringe_, scale_.device);
}

QImage StageOutline::dressed(const QImage& picture, QPoint origin) const {
    QImage result(picture.size(), QImage::Format_ARGB32_Premultiplied);
    result.fill(Qt::transparent);
    {
        QPainter painter(&result);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        if (!edge_.isNull())
            painter.drawImage(QPoint(0, 0), edge_, QRect(origin, picture.size()));
        if (shape_)
            painter.setClipRegion(shape_->translated(-origin));
        QImage own = picture;
        own.setDevicePixelRatio(1);
        painter.drawImage(QPoint(0, 0), own);
    }
    result.setDevicePixelRatio(scale_.device);
    return result;
}

void StageOutline::cut(QWidget& window, bool compositing) const {
    if (!shape_ || !window.windowHandle())
        return;
    // A change of stacking style gives her a new native window, made during the show that
    // follows; the widget's own id still names the old one until then.
    x11ShapeWindow(xcb_window_t(window.windowHandle()->winId()),
                   compositing ? *shape_ | fringe_ : *shape_, *shape_);
}
