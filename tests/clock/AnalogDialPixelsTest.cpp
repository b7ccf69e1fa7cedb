#include "clock/Dial.h"
#include "clock/DialColours.h"

#include <QPainter>
#include <gtest/gtest.h>
#include <random>

namespace {

const QRect kBox(80, 256, 128, 128);
constexpr DialMode kAnalog{true, false};

QImage plainFace(QRgb colour) {
    QImage face(kBox.size(), QImage::Format_ARGB32_Premultiplied);
    face.fill(colour);
    return face;
}

// Every pixel a different colour, so that a darkening can be told from a copy.
QImage noisyFace() {
    QImage face(kBox.size(), QImage::Format_ARGB32_Premultiplied);
    std::mt19937 random(7);
    for (int y = 0; y < face.height(); ++y)
        for (int x = 0; x < face.width(); ++x)
            face.setPixel(x, y, 0xFF000000u | (random() & 0xFFFFFFu));
    return face;
}

Dial dialWithFace(const QImage& face) {
    return Dial(kBox, {QImage(), face, face}, [](QPainter&, auto, int, QPoint) {}, {});
}

QRgb at(const QImage& image, int x, int y) {
    return image.pixel(x, y) | 0xFF000000u;
}

constexpr QRgb kWhite = 0xFFFFFFFFu;
// The minute hand's shadow over the hour hand.
constexpr QRgb kShadedAqua = DialColours::kAqua & DialColours::kSilver;

} // namespace

TEST(AnalogDial, ThreeOClockHandsAndSecondZero) {
    Dial dial = dialWithFace(plainFace(kWhite));
    dial.compose(3, 0, kAnalog);
    const QImage& image = dial.dialImage;
    // Tips are outline points: black, with nothing of the hand beyond them.
    EXPECT_EQ(at(image, 64, 13), DialColours::kBlack);
    EXPECT_EQ(at(image, 64, 12), kWhite);
    EXPECT_EQ(at(image, 102, 64), DialColours::kBlack);
    EXPECT_EQ(at(image, 103, 63), kWhite);
    EXPECT_EQ(at(image, 64, 30), DialColours::kAqua); // inside the minute hand
    EXPECT_EQ(at(image, 90, 64), DialColours::kAqua); // inside the hour hand

    const QImage screen = dial.frameAt(0, kAnalog);
    EXPECT_EQ(at(screen, 64, 19), DialColours::kRed);
    EXPECT_EQ(at(screen, 64, 18), at(image, 64, 18));
    EXPECT_EQ(at(screen, 64, 75), DialColours::kRed);
    // The line stops short of its end point: the minute hand's tail shows there.
    EXPECT_EQ(at(screen, 64, 76), DialColours::kBlack);
    // The red cap and its shadow, one pixel down and right.
    EXPECT_EQ(at(screen, 60, 63), DialColours::kRed);
    EXPECT_EQ(at(screen, 68, 65), at(image, 68, 65) & DialColours::kSilver);
}

TEST(AnalogDial, QuarterPastAndTwoOClockTips) {
    Dial dial = dialWithFace(plainFace(kWhite));
    dial.compose(2, 15, kAnalog);
    EXPECT_EQ(at(dial.dialImage, 115, 64), DialColours::kBlack);
    EXPECT_EQ(at(dial.dialImage, 116, 64), kWhite);
    // The hour hand has crept one position past 2 by 2:15; at 2:00 the tip is (96, 45).
    dial.compose(2, 0, kAnalog);
    EXPECT_EQ(at(dial.dialImage, 96, 45), DialColours::kBlack);
}

TEST(AnalogDial, SecondFiveEndsAtTheSinglePrecisionTail) {
    Dial dial = dialWithFace(plainFace(kWhite));
    dial.compose(-1, -1, kAnalog);
    const QImage screen = dial.frameAt(5, kAnalog);
    EXPECT_EQ(at(screen, 86, 25), DialColours::kRed);
    EXPECT_EQ(at(screen, 86, 24), kWhite);
    // The last drawn point before (57, 74); a tail at (58, 74) would light (59, 73).
    EXPECT_EQ(at(screen, 58, 73), DialColours::kRed);
    EXPECT_EQ(at(screen, 59, 73), kWhite);
    EXPECT_EQ(at(screen, 57, 74), kWhite);
}

TEST(AnalogDial, TwelveFiftyNineAndOneOClock) {
    const DialGeometry geometry;
    Dial dial = dialWithFace(plainFace(kWhite));
    dial.compose(12, 59, kAnalog);
    const QPoint fourPast = geometry.placeHand(geometry.hourHandShape, 4)[0];
    const QPoint five = geometry.placeHand(geometry.hourHandShape, 5)[0];
    EXPECT_EQ(at(dial.dialImage, fourPast.x(), fourPast.y()), DialColours::kBlack);
    EXPECT_EQ(at(dial.dialImage, five.x(), five.y()), kWhite);
    dial.compose(1, 0, kAnalog);
    EXPECT_EQ(at(dial.dialImage, five.x(), five.y()), DialColours::kBlack);
    EXPECT_EQ(at(dial.dialImage, fourPast.x(), fourPast.y()), kWhite);
}

TEST(AnalogDial, ShadowsDarkenByMaskAndNeverLighten) {
    const QImage face = noisyFace();
    Dial dial = dialWithFace(face);
    dial.compose(7, 40, kAnalog);
    const QImage before = dial.dialImage.copy();
    // Across the shadow offset, where the red line hides little of its shadow.
    for (int second : {0, 15, 37}) {
        const QImage screen = dial.frameAt(second, kAnalog);
        int darkened = 0;
        for (int y = 0; y < 128; ++y) {
            for (int x = 0; x < 128; ++x) {
                const QRgb was = at(before, x, y);
                const QRgb now = at(screen, x, y);
                if (now == was || now == DialColours::kRed)
                    continue;
                ASSERT_EQ(now, was & DialColours::kSilver) << x << "," << y;
                ++darkened;
            }
        }
        EXPECT_GT(darkened, 20) << second;
    }
    int handShadow = 0;
    for (int y = 0; y < 128; ++y) {
        for (int x = 0; x < 128; ++x) {
            const QRgb was = at(face, x, y);
            const QRgb now = at(before, x, y);
            if (now == was || now == DialColours::kAqua || now == DialColours::kBlack ||
                now == kShadedAqua)
                continue;
            ASSERT_EQ(now, was & DialColours::kSilver) << x << "," << y;
            ++handShadow;
        }
    }
    EXPECT_GT(handShadow, 50);

    // On black a copied silver would show; a mask leaves black as it is.
    Dial dark = dialWithFace(plainFace(0xFF000000u));
    dark.compose(7, 40, kAnalog);
    const QImage screen = dark.frameAt(23, kAnalog);
    for (int y = 0; y < 128; ++y)
        for (int x = 0; x < 128; ++x)
            ASSERT_TRUE(at(screen, x, y) == 0xFF000000u || at(screen, x, y) == DialColours::kAqua ||
                        at(screen, x, y) == kShadedAqua || at(screen, x, y) == DialColours::kRed)
                << x << "," << y;
}

TEST(AnalogDial, FaceOnlyStillGetsTheSecondHand) {
    const QImage face = plainFace(0xFFFFEEDDu);
    Dial dial = dialWithFace(face);
    dial.compose(10, 10, kAnalog);
    dial.compose(-1, -1, kAnalog);
    for (int y = 0; y < 128; ++y)
        for (int x = 0; x < 128; ++x)
            ASSERT_EQ(at(dial.dialImage, x, y), 0xFFFFEEDDu);
    EXPECT_EQ(at(dial.frameAt(30, kAnalog), 64, 64 + 45 - 1), DialColours::kRed);
}

TEST(AnalogDial, StagePictureShowsThroughTheFaceCorners) {
    QImage stage(158, 452, QImage::Format_RGB32);
    stage.fill(0xFF102030u);
    QImage face = plainFace(kWhite);
    face.setPixel(0, 0, 0u); // a transparent corner
    face.setPixel(100, 0, 0u);
    Dial dial(kBox, {stage, face, face}, [](QPainter&, auto, int, QPoint) {}, {});
    dial.compose(-1, -1, kAnalog);
    EXPECT_EQ(at(dial.dialImage, 0, 0), 0xFF102030u);
    // The picture ends at column 77 of the dial; beyond it the image keeps what it had.
    EXPECT_NE(at(dial.dialImage, 100, 0), 0xFF102030u);
    EXPECT_EQ(at(dial.dialImage, 1, 0), kWhite);
}
