#include "voice/BalloonGeometry.h"

#include "stage/PixelRegion.h"

#include <QPainter>
#include <QPolygon>
#include <cmath>

namespace {
constexpr int kTailBase = 48;
constexpr int kCornerEllipse = 8;
// Coverage at or above which a device pixel belongs to the shape: half of 255.
constexpr int kHalfCovered = 128;

// How much of each device pixel the path covers, 0 to 255.
QImage coverage(const QPainterPath& path, QSize deviceSize, qreal ratio) {
    QImage image(deviceSize, QImage::Format_Alpha8);
    image.fill(0);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(ratio, ratio);
    painter.fillPath(path, Qt::black);
    return image;
}

QRegion pixelsCovered(const QImage& coverage, int atLeast) {
    return pixelRegion(coverage.width(), coverage.height(),
                       [&](int x, int y) { return coverage.constScanLine(y)[x] >= atLeast; });
}
} // namespace

int balloonCorner(QPoint stageTopLeft, QSize stageClient, const QRect& screen) {
    const int centreX = stageTopLeft.x() + stageClient.width() / 2 - screen.x();
    int centreY = stageTopLeft.y() + stageClient.height() / 2 - screen.y();
    const int half = screen.width() / 2;
    const int quarter = screen.height() / 4;
    const int horizontal = centreX < half ? 0 : 1;
    if (centreY > 2 * quarter)
        centreY -= 2 * quarter;
    const int vertical = centreY < quarter ? 0 : 2;
    return horizontal + vertical;
}

BalloonPlacement placeBalloon(int corner, QPoint stageTopLeft, const QRect& mouthArea,
                              QSize balloonClient, const QRect& tailGuide) {
    // Right and bottom edges as the layout counts them: one past the last pixel.
    const int guideRight = tailGuide.x() + tailGuide.width();
    const int guideBottom = tailGuide.y() + tailGuide.height();
    const int mouthRight = mouthArea.x() + mouthArea.width();
    const int mouthBottom = mouthArea.y() + mouthArea.height();

    QPoint tip;
    QPoint touch;
    TailPoints tail;
    switch (corner) {
    case 0:
        tip = {0, 0};
        tail = {tip, {tailGuide.x(), tailGuide.y()}, {tailGuide.x() + kTailBase, tailGuide.y()}};
        touch = {mouthRight, mouthBottom};
        break;
    case 1:
        tip = {balloonClient.width(), 0};
        tail = {tip, {guideRight, tailGuide.y()}, {guideRight - kTailBase, tailGuide.y()}};
        touch = {mouthArea.x(), mouthBottom};
        break;
    case 2:
        tip = {0, balloonClient.height()};
        tail = {tip, {tailGuide.x(), guideBottom}, {tailGuide.x() + kTailBase, guideBottom}};
        touch = {mouthRight, mouthArea.y()};
        break;
    case 3:
        tip = {balloonClient.width(), balloonClient.height()};
        tail = {tip, {guideRight, guideBottom}, {guideRight - kTailBase, guideBottom}};
        touch = {mouthArea.x(), mouthArea.y()};
        break;
    default:
        return {stageTopLeft + QPoint(mouthArea.x() + mouthArea.width() / 2,
                                      mouthArea.y() + mouthArea.height() / 2),
                std::nullopt};
    }
    return {stageTopLeft + touch - tip, tail};
}

std::optional<QRegion> balloonShape(const QRect& bodyArea, const std::optional<TailPoints>& tail) {
    if (bodyArea.isEmpty())
        return std::nullopt;
    const int w = std::min(kCornerEllipse, bodyArea.width());
    const int h = std::min(kCornerEllipse, bodyArea.height());
    QRegion shape = QRegion(bodyArea.adjusted(w / 2, 0, -(w / 2), 0)) |
                    QRegion(bodyArea.adjusted(0, h / 2, 0, -(h / 2)));
    const int left = bodyArea.x();
    const int top = bodyArea.y();
    const int right = left + bodyArea.width() - w;
    const int bottom = top + bodyArea.height() - h;
    for (const QPoint corner :
         {QPoint(left, top), QPoint(right, top), QPoint(left, bottom), QPoint(right, bottom)})
        shape |= QRegion(QRect(corner, QSize(w, h)), QRegion::Ellipse);
    if (tail)
        shape |= QRegion(QPolygon(QList<QPoint>(tail->begin(), tail->end())), Qt::WindingFill);
    return shape;
}

QPainterPath balloonPath(const QRect& bodyArea, const std::optional<TailPoints>& tail) {
    QPainterPath path;
    path.addRoundedRect(QRectF(bodyArea), std::min(kCornerEllipse, bodyArea.width()) / 2.0,
                        std::min(kCornerEllipse, bodyArea.height()) / 2.0);
    if (!tail)
        return path;
    // The region's polygon takes the pixels whose top-left point lies inside it; that is the
    // ideal triangle through their middles.
    QPolygonF triangle;
    for (const QPoint point : *tail)
        triangle << QPointF(point) + QPointF(0.5, 0.5);
    triangle << triangle.first();
    QPainterPath tailPath;
    tailPath.addPolygon(triangle);
    return path.united(tailPath);
}

std::optional<BalloonOutline> balloonOutline(const QRect& bodyArea,
                                             const std::optional<TailPoints>& tail,
                                             QSize clientSize, qreal ratio) {
    const std::optional<QRegion> logical = balloonShape(bodyArea, tail);
    if (!logical)
        return std::nullopt;
    if (!(ratio > 0))
        ratio = 1;
    const QSize deviceSize(int(std::ceil(clientSize.width() * ratio)),
                           int(std::ceil(clientSize.height() * ratio)));
    const QImage covered = coverage(balloonPath(bodyArea, tail), deviceSize, ratio);
    BalloonOutline outline;
    outline.ratio = ratio;
    // At 1 the shape stays the one the balloon always had, pixel for pixel.
    outline.shape = qFuzzyCompare(ratio, 1.0) ? *logical : pixelsCovered(covered, kHalfCovered);
    outline.fringe = pixelsCovered(covered, 1) - outline.shape;

    QImage picture(deviceSize, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    // Black at the coverage, so that a compositing manager blends the edge with the desktop.
    for (const QRect& band : outline.fringe)
        for (int y = band.top(); y <= band.bottom(); ++y) {
            const uchar* alpha = covered.constScanLine(y);
            auto* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
            for (int x = band.left(); x <= band.right(); ++x)
                row[x] = qRgba(0, 0, 0, alpha[x]);
        }
    {
        QPainter painter(&picture);
        for (const QRect& band : outline.shape)
            painter.fillRect(band, Qt::white);
        for (const QRect& band : regionFrame(outline.shape, std::max(1, qRound(ratio))))
            painter.fillRect(band, Qt::black);
    }
    picture.setDevicePixelRatio(ratio);
    outline.picture = picture;
    return outline;
}

int lineTopInsideBody(int formTop, int lineHeight, const QRect& bodyArea) {
    // A row of white between the line and the outline, as the brackets' feet need.
    const int lastRow = bodyArea.y() + bodyArea.height() - 3;
    return std::min(formTop, lastRow + 1 - lineHeight);
}

QRegion regionFrame(const QRegion& region, int width) {
    QRegion inner = region;
    for (int step = 0; step < width; ++step)
        inner = inner & inner.translated(1, 0) & inner.translated(-1, 0) & inner.translated(0, 1) &
                inner.translated(0, -1);
    return region - inner;
}
