#include "clock/Dial.h"
#include "clock/StaleDialArea.h"

#include <QPainter>
#include <cmath>
#include <gtest/gtest.h>

namespace {

const QRect kBox(0, 0, 128, 128);

Dial makeDial(qreal ratio = 1) {
    QImage face(kBox.size(), QImage::Format_ARGB32_Premultiplied);
    face.fill(0xFF808080u);
    auto drawCell = [](QPainter& painter, AssetCatalogue::GlyphList, int index, QPoint at) {
        painter.fillRect(QRect(at, QSize(16, 32)), QColor(index * 20, 0, 0));
    };
    return Dial(QRect(QPoint(80, 256), kBox.size()), {QImage(), face, face}, drawCell,
                DigitLayout::compute(QSize(24, 48), QSize(16, 32), QSize(64, 16), QPoint(64, 64)),
                ratio);
}

// Plays the screen: only the repainted region takes the new frame.
void paint(QImage& screen, const QImage& frame, const QRegion& region) {
    QPainter painter(&screen);
    painter.setClipRegion(region);
    painter.drawImage(0, 0, frame);
}

} // namespace

// Above 1x each changed device pixel wholly inside, its smooth edges and all.
static void secondsAreaHoldsWhatTheSecondsChange(qreal ratio) {
    Dial dial = makeDial(ratio);
    for (const DialMode mode : {DialMode{true, false}, DialMode{false, false}}) {
        dial.compose(10, 10, mode);
        for (int second = 0; second < 60; ++second) {
            const QImage frame = dial.frameAt(second, mode);
            const QRect area = dial.secondsArea(second, mode);
            ASSERT_EQ(frame.size(), QSize(128, 128) * ratio); // 192 x 192 at 1.5
            for (int y = 0; y < frame.height(); ++y)
                for (int x = 0; x < frame.width(); ++x)
                    if (frame.pixel(x, y) != dial.dialImage.pixel(x, y)) {
                        const QRect touched(
                            QPoint(x / ratio, y / ratio),
                            QPoint(std::ceil((x + 1) / ratio) - 1, std::ceil((y + 1) / ratio) - 1));
                        ASSERT_TRUE(area.contains(touched)) << second << " at " << x << "," << y;
                    }
        }
    }
}

TEST(DialRefresh, SecondsAreaHoldsEverythingTheSecondsChange) {
    for (const qreal ratio : {1.0, 2.0, 1.5}) {
        SCOPED_TRACE(ratio);
        secondsAreaHoldsWhatTheSecondsChange(ratio);
    }
}

TEST(DialRefresh, PartialRepaintsLeaveNoStaleHands) {
    Dial dial = makeDial();
    constexpr DialMode analog{true, false};
    StaleDialArea stale(kBox);
    QImage screen(kBox.size(), QImage::Format_RGB32);
    screen.fill(Qt::black);
    auto refresh = [&](int second, const QRegion& extra = {}) {
        const QRect area = dial.secondsArea(second, analog);
        const QRegion region = stale.refreshFor(area) | extra;
        paint(screen, dial.frameAt(second, analog), region);
        stale.painted(region, area);
    };
    dial.compose(4, 20, analog);
    stale.imageRebuilt();
    refresh(0);
    for (int second = 1; second < 75; ++second) {
        const int s = second % 60;
        if (s == 59) {
            dial.compose(4, 21, analog);
            stale.imageRebuilt();
        }
        // Now and then a window uncovers part of the dial between two seconds.
        if (second % 7 == 0) {
            const QRegion uncovered(QRect(20 + second % 30, 30, 40, 50));
            paint(screen, dial.frameAt(s, analog), uncovered);
            stale.painted(uncovered, dial.secondsArea(s, analog));
        }
        refresh(s);
        ASSERT_EQ(screen, dial.frameAt(s, analog).convertToFormat(QImage::Format_RGB32))
            << "at second " << second;
    }
    EXPECT_LT(stale.refreshFor(dial.secondsArea(0, analog)).boundingRect().width(), 128);
}
