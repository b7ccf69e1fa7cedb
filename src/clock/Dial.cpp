#include "clock/Dial.h"

#include <algorithm>

#include "clock/AnalogHands.h"

#include <QPainter>

namespace {

// Keeps the dial usable when a face is missing from the program's pictures.
QImage blankFace(QSize size, QColor colour) {
    QImage face(size, QImage::Format_ARGB32_Premultiplied);
    face.fill(colour);
    return face;
}

} // namespace

Dial::Dial(QRect box, Pictures pictures, GlyphDrawer drawGlyph, DigitLayout layout)
    : dialImage(box.size(), QImage::Format_RGB32), boxPosition_(box.topLeft()),
      stage_(std::move(pictures.stage)), geometry_(box.size()),
      digits_(layout, std::move(drawGlyph)) {
    dialImage.fill(Qt::white);
    ImageList1[0] = pictures.analogFace.isNull() ? blankFace(box.size(), Qt::white)
                                                 : std::move(pictures.analogFace);
    ImageList1[1] = pictures.digitalFace.isNull() ? blankFace(box.size(), QColor(0xD8, 0xE8, 0xC8))
                                                  : std::move(pictures.digitalFace);
}

void Dial::compose(int hour, int minute, DialMode mode) {
    {
        QPainter painter(&dialImage);
        // Whatever of the character lies behind the dial; the picture is narrower than the
        // box, so part of the image keeps what it had, hidden under the face.
        if (!stage_.isNull())
            painter.drawImage(-boxPosition_, stage_);
        painter.drawImage(QPoint(0, 0), ImageList1[mode.analog ? 0 : 1]);
        if (hour != -1 && !mode.analog)
            digits_.drawHourAndMinute(painter, hour, minute, mode.twelveHour);
    }
    if (hour != -1 && mode.analog) {
        RasterCanvas canvas(dialImage);
        AnalogHands::drawHourAndMinute(canvas, geometry_, hour, minute);
    }
}

void Dial::drawSeconds(QImage& screen, int second, DialMode mode) const {
    if (mode.analog) {
        RasterCanvas canvas(screen);
        AnalogHands::drawSeconds(canvas, geometry_, second);
    } else {
        QPainter painter(&screen);
        digits_.drawSeconds(painter, second);
    }
}

QRect Dial::secondsArea(int second, DialMode mode) const {
    if (!mode.analog)
        return QRect(digits_.layout().seconds, digits_.layout().secondsSize);
    const QPoint tip = geometry_.dialPoint(second, geometry_.secondHandLength);
    const QPoint tail = geometry_.dialPoint(second, -geometry_.tailLength);
    const QPoint c = geometry_.centre;
    // The hand, its shadow two pixels off, and the cap with its shadow.
    // Built from the corners: QRect::normalized() is one pixel short for an inverted rect.
    const QRect hand(QPoint(std::min(tip.x(), tail.x()), std::min(tip.y(), tail.y())),
                     QPoint(std::max(tip.x(), tail.x()), std::max(tip.y(), tail.y())));
    QRect area = hand | QRect(c - QPoint(4, 4), c + QPoint(5, 5));
    return area.adjusted(0, 0, 2, 2);
}

QImage Dial::frameAt(int second, DialMode mode) const {
    QImage screen = dialImage.copy();
    drawSeconds(screen, second, mode);
    return screen;
}
