#include "clock/Dial.h"

#include <algorithm>
#include <cmath>

#include "clock/AnalogHands.h"
#include "clock/ImagePainter.h"
#include "clock/RasterCanvas.h"
#include "clock/SmoothCanvas.h"

#include <QPainter>

namespace {

bool atOne(qreal ratio) {
    return qFuzzyCompare(ratio, 1);
}

// A ratio no screen has would make an image of no size, or of gigabytes.
qreal usable(qreal ratio) {
    return std::isfinite(ratio) && ratio > 0 ? std::clamp<qreal>(ratio, 0.25, 8) : 1;
}

QImage deviceImage(QSize logical, qreal ratio) {
    QImage image(qRound(logical.width() * ratio), qRound(logical.height() * ratio),
                 QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    return image;
}

// Keeps the dial usable when a face is missing from the program's pictures.
QImage blankFace(QSize size, qreal ratio, QColor colour) {
    QImage face = deviceImage(size, ratio);
    face.fill(colour);
    return face;
}

// The hands pixel for pixel at 1x, as they always were; at any other ratio drawn smooth at
// the image's own resolution.
template <class Draw> void onCanvas(QImage& image, Draw draw) {
    if (atOne(image.devicePixelRatio())) {
        RasterCanvas canvas(image);
        draw(canvas);
    } else {
        SmoothCanvas canvas(image);
        draw(canvas);
    }
}

} // namespace

Dial::Dial(QRect box, Pictures pictures, GlyphDrawer drawGlyph, DigitLayout layout, qreal ratio)
    : backdrop_(deviceImage(box.size(), usable(ratio))), geometry_(box.size()),
      digits_(layout, std::move(drawGlyph)) {
    const qreal r = backdrop_.devicePixelRatio();
    // Whatever of the character lies behind the dial, its own alpha kept as it is; anything
    // outside the picture stays transparent, for a window with an alpha channel. A picture
    // made for another ratio is scaled here once rather than at each rebuild.
    backdrop_.fill(Qt::transparent);
    if (!pictures.stage.isNull()) {
        ImagePainter painter(backdrop_);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(-box.topLeft(), pictures.stage);
    }
    dialImage = backdrop_;
    ImageList1[0] = pictures.analogFace.isNull() ? blankFace(box.size(), r, Qt::white)
                                                 : std::move(pictures.analogFace);
    ImageList1[1] = pictures.digitalFace.isNull()
                        ? blankFace(box.size(), r, QColor(0xD8, 0xE8, 0xC8))
                        : std::move(pictures.digitalFace);
}

void Dial::compose(int hour, int minute, DialMode mode) {
    dialImage = backdrop_.copy();
    const QImage& face = ImageList1[mode.analog ? 0 : 1];
    if (face.size() == dialImage.size()) {
        // Pixel for pixel: through a painter at a ratio other than 1 it would be resampled,
        // at many times the cost.
        QImage own = face;
        own.setDevicePixelRatio(1);
        dialImage.setDevicePixelRatio(1);
        QPainter(&dialImage).drawImage(QPoint(0, 0), own);
        dialImage.setDevicePixelRatio(backdrop_.devicePixelRatio());
    }
    {
        ImagePainter painter(dialImage);
        // Only faces made for another ratio are scaled.
        if (face.size() != dialImage.size()) {
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            painter.drawImage(QRectF(QPointF(0, 0), dialImage.deviceIndependentSize()), face);
        }
        if (hour != -1 && !mode.analog)
            digits_.drawHourAndMinute(painter, hour, minute, mode.twelveHour);
    }
    if (hour != -1 && mode.analog)
        onCanvas(dialImage, [&](auto& canvas) {
            AnalogHands::drawHourAndMinute(canvas, geometry_, hour, minute);
        });
}

void Dial::drawSeconds(QImage& screen, int second, DialMode mode) const {
    if (mode.analog) {
        onCanvas(screen,
                 [&](auto& canvas) { AnalogHands::drawSeconds(canvas, geometry_, second); });
    } else {
        ImagePainter painter(screen);
        digits_.drawSeconds(painter, second);
    }
}

QRect Dial::secondsArea(int second, DialMode mode) const {
    QRect area;
    if (mode.analog) {
        const QPoint tip = geometry_.dialPoint(second, geometry_.secondHandLength);
        const QPoint tail = geometry_.dialPoint(second, -geometry_.tailLength);
        const QPoint c = geometry_.centre;
        // The hand, its shadow two pixels off, and the cap with its shadow. Built from the
        // corners: QRect::normalized() is one pixel short for an inverted rect.
        const QRect hand(QPoint(std::min(tip.x(), tail.x()), std::min(tip.y(), tail.y())),
                         QPoint(std::max(tip.x(), tail.x()), std::max(tip.y(), tail.y())));
        area = (hand | QRect(c - QPoint(4, 4), c + QPoint(5, 5))).adjusted(0, 0, 2, 2);
    } else {
        area = QRect(digits_.layout().seconds, digits_.layout().secondsSize);
    }
    if (atOne(ratio()))
        return area;
    // A smooth edge spills up to a fifth of a pixel past the 1x pixels, and the device pixel
    // it lights may reach a whole device pixel further.
    const int margin = static_cast<int>(std::ceil(0.25 + 1 / ratio()));
    return area.adjusted(-margin, -margin, margin, margin);
}

QImage Dial::frameAt(int second, DialMode mode) const {
    QImage screen = dialImage.copy();
    drawSeconds(screen, second, mode);
    return screen;
}
