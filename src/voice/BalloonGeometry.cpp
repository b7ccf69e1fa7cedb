#include "voice/BalloonGeometry.h"

#include <QPolygon>

namespace {
constexpr int kTailBase = 48;
constexpr int kCornerEllipse = 8;
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

int lineTopInsideBody(int formTop, int lineHeight, const QRect& bodyArea) {
    // A row of white between the line and the outline, as the brackets' feet need.
    const int lastRow = bodyArea.y() + bodyArea.height() - 3;
    return std::min(formTop, lastRow + 1 - lineHeight);
}

QRegion regionFrame(const QRegion& region) {
    const QRegion inner = region & region.translated(1, 0) & region.translated(-1, 0) &
                          region.translated(0, 1) & region.translated(0, -1);
    return region - inner;
}
