#include "clock/Dial.h"
#include "stage/AssetCatalogue.h"

#include <QPainter>
#include <gtest/gtest.h>

namespace {

using GlyphList = AssetCatalogue::GlyphList;

const QRect kBox(80, 256, 128, 128);
constexpr QRgb kFace = 0xFFD0E0C0u;

QSize glyphSizeOf(GlyphList list) {
    switch (list) {
    case GlyphList::DigiNumber:
        return QSize(24, 48);
    case GlyphList::DigiNumSmall:
        return QSize(16, 32);
    case GlyphList::AmPm:
        break;
    }
    return QSize(64, 16);
}

// Paints each glyph as its whole cell in a colour that names the list and the index.
QRgb glyphColour(GlyphList list, int index) {
    return qRgb(40 + 60 * static_cast<int>(list), 10 * index, 7);
}

void drawCell(QPainter& painter, GlyphList list, int index, QPoint at) {
    painter.fillRect(QRect(at, glyphSizeOf(list)), QColor(glyphColour(list, index)));
}

DigitLayout layout() {
    return DigitLayout::compute(glyphSizeOf(GlyphList::DigiNumber),
                                glyphSizeOf(GlyphList::DigiNumSmall), glyphSizeOf(GlyphList::AmPm),
                                QPoint(64, 64));
}

Dial fakeDial() {
    QImage face(kBox.size(), QImage::Format_ARGB32_Premultiplied);
    face.fill(kFace);
    return Dial(kBox, {QImage(), face, face}, drawCell, layout());
}

QRgb at(const QImage& image, int x, int y) {
    return image.pixel(x, y) | 0xFF000000u;
}

// What the screen shows in the middle of a cell whose left edge is x.
QRgb digitAt(const QImage& screen, int x) {
    return at(screen, x + 3, 40);
}

struct Shown {
    QRgb hourTens, hourUnits, colon, minuteTens, minuteUnits, amPmLeft, amPmRight;
};

Shown shown(const QImage& screen) {
    return {digitAt(screen, 10), digitAt(screen, 34), at(screen, 61, 40), digitAt(screen, 70),
            digitAt(screen, 94), at(screen, 12, 96),  at(screen, 72, 96)};
}

QRgb digit(int n) {
    return glyphColour(GlyphList::DigiNumber, n);
}

} // namespace

TEST(DigitalDial, LayoutFromTheGlyphSizes) {
    const DigitLayout l = layout();
    EXPECT_EQ(l.hourRow, QPoint(10, 24));
    EXPECT_EQ(l.hourUnitsLeft(), 34);
    EXPECT_EQ(l.colonLeft(), 58);
    EXPECT_EQ(l.minuteTensLeft(), 70);
    EXPECT_EQ(l.minuteUnitsLeft(), 94);
    EXPECT_EQ(l.seconds, QPoint(86, 72));
    EXPECT_EQ(l.amPm, QPoint(10, 88));
}

TEST(DigitalDial, TwentyFourHourForm) {
    Dial dial = fakeDial();
    constexpr DialMode mode{false, false};
    dial.compose(9, 5, mode);
    QImage screen = dial.frameAt(7, mode);
    Shown s = shown(screen);
    EXPECT_EQ(s.hourTens, kFace); // no leading zero: the ghost segments show
    EXPECT_EQ(s.hourUnits, digit(9));
    EXPECT_EQ(s.colon, digit(11));
    EXPECT_EQ(s.minuteTens, digit(0));
    EXPECT_EQ(s.minuteUnits, digit(5));
    EXPECT_EQ(s.amPmLeft, kFace);
    EXPECT_EQ(s.amPmRight, kFace);
    EXPECT_EQ(at(screen, 90, 80), glyphColour(GlyphList::DigiNumSmall, 0));
    EXPECT_EQ(at(screen, 106, 80), glyphColour(GlyphList::DigiNumSmall, 7));
    EXPECT_EQ(at(screen, 117, 103), glyphColour(GlyphList::DigiNumSmall, 7));
    EXPECT_EQ(at(screen, 118, 80), kFace);
    // The seconds live on screen only.
    EXPECT_EQ(at(dial.dialImage, 90, 80), kFace);

    dial.compose(0, 0, mode);
    s = shown(dial.frameAt(0, mode));
    EXPECT_EQ(s.hourTens, kFace);
    EXPECT_EQ(s.hourUnits, digit(0));
    EXPECT_EQ(s.minuteTens, digit(0));
    EXPECT_EQ(s.minuteUnits, digit(0));

    dial.compose(23, 59, mode);
    s = shown(dial.frameAt(0, mode));
    EXPECT_EQ(s.hourTens, digit(2));
    EXPECT_EQ(s.hourUnits, digit(3));
}

TEST(DigitalDial, MinuteTensOverlapTheColonsRightHalf) {
    Dial dial = fakeDial();
    dial.compose(12, 34, {false, false});
    EXPECT_EQ(at(dial.dialImage, 58, 30), digit(11));
    EXPECT_EQ(at(dial.dialImage, 69, 30), digit(11));
    EXPECT_EQ(at(dial.dialImage, 70, 30), digit(3));
    EXPECT_EQ(at(dial.dialImage, 81, 30), digit(3));
}

TEST(DigitalDial, TwelveHourForm) {
    Dial dial = fakeDial();
    constexpr DialMode mode{false, true};
    const QRgb am = glyphColour(GlyphList::AmPm, 0);
    const QRgb pm = glyphColour(GlyphList::AmPm, 1);
    struct Case {
        int hour, minute;
        QRgb sign;
        int shownHour;
    };
    for (const Case c : {Case{0, 30, am, 0}, Case{12, 30, pm, 0}, Case{10, 0, am, 10},
                         Case{22, 45, pm, 10}, Case{23, 59, pm, 11}}) {
        SCOPED_TRACE(c.hour);
        dial.compose(c.hour, c.minute, mode);
        const Shown s = shown(dial.frameAt(0, mode));
        EXPECT_EQ(s.amPmLeft, c.sign);
        EXPECT_EQ(s.hourTens, c.shownHour > 9 ? digit(c.shownHour / 10) : kFace);
        EXPECT_EQ(s.hourUnits, digit(c.shownHour % 10));
        EXPECT_EQ(s.minuteTens, digit(c.minute / 10));
        EXPECT_EQ(s.minuteUnits, digit(c.minute % 10));
    }
}

TEST(DigitalDial, FaceOnlyHasNoDigitsButStillTheSeconds) {
    Dial dial = fakeDial();
    constexpr DialMode mode{false, true};
    dial.compose(-1, -1, mode);
    const QImage screen = dial.frameAt(42, mode);
    const Shown s = shown(screen);
    EXPECT_EQ(s.hourUnits, kFace);
    EXPECT_EQ(s.amPmLeft, kFace);
    EXPECT_EQ(at(screen, 90, 80), glyphColour(GlyphList::DigiNumSmall, 4));
}

TEST(DigitalDial, RealGlyphsLeaveTheGhostSegmentsOfAnEmptyPosition) {
    const QImage face = AssetCatalogue::maskedImage(AssetCatalogue::bitmap("MojibanDigi"),
                                                    AssetCatalogue::bitmap("MojibanDigiMask"));
    if (face.isNull())
        GTEST_SKIP() << "the digital face is not among the program's pictures yet";
    const DigitLayout real =
        DigitLayout::compute(AssetCatalogue::glyphSize(GlyphList::DigiNumber),
                             AssetCatalogue::glyphSize(GlyphList::DigiNumSmall),
                             AssetCatalogue::glyphSize(GlyphList::AmPm), QPoint(64, 64));
    Dial dial(kBox, {QImage(), face, face}, AssetCatalogue::drawGlyph, real);
    constexpr DialMode mode{false, false};
    dial.compose(-1, -1, mode);
    const QImage bare = dial.dialImage.copy();
    dial.compose(9, 5, mode);
    const QRect tens(real.hourRow, AssetCatalogue::glyphSize(GlyphList::DigiNumber));
    const QRect units = tens.translated(real.digitAdvance, 0);
    EXPECT_EQ(dial.dialImage.copy(tens), bare.copy(tens));
    EXPECT_NE(dial.dialImage.copy(units), bare.copy(units));
}
