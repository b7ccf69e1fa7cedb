#include "clock/Dial.h"
#include "stage/AssetCatalogue.h"

#include <gtest/gtest.h>

namespace {

using GlyphList = AssetCatalogue::GlyphList;

struct Frame {
    int hour, minute, second;
    DialMode mode;
};

constexpr DialMode kAnalog{true, false};
constexpr DialMode k24{false, false};
constexpr DialMode k12{false, true};

// The second hand at the quarters, across the cap and over the other hands; the face alone;
// the digits in both forms, with AM and PM.
constexpr Frame kFrames[] = {
    {3, 0, 0, kAnalog},    {12, 0, 0, kAnalog},  {6, 30, 30, kAnalog}, {9, 45, 45, kAnalog},
    {10, 10, 15, kAnalog}, {2, 15, 37, kAnalog}, {7, 40, 23, kAnalog}, {11, 59, 59, kAnalog},
    {-1, -1, 5, kAnalog},  {9, 5, 7, k24},       {23, 59, 59, k24},    {0, 0, 0, k24},
    {0, 30, 42, k12},      {12, 30, 5, k12},     {22, 45, 30, k12},    {-1, -1, 18, k12}};
constexpr int kColumns = 4;
constexpr int kSide = 128;
const char* const kGolden = HOURLING_SOURCE_DIR "/tests/data/dial-frames-1x.png";

Dial realDial(qreal ratio) {
    const auto size = [](GlyphList list) { return AssetCatalogue::glyphSize(list); };
    return Dial(QRect(80, 256, kSide, kSide),
                {AssetCatalogue::bitmap("Stage"), AssetCatalogue::maskedBitmap("Mojiban", ratio),
                 AssetCatalogue::maskedBitmap("MojibanDigi", ratio)},
                AssetCatalogue::drawGlyph,
                DigitLayout::compute(size(GlyphList::DigiNumber), size(GlyphList::DigiNumSmall),
                                     size(GlyphList::AmPm), QPoint(64, 64)),
                ratio);
}

// Every frame at 1x, black wherever the face is not drawn: her window's shape hides that.
QImage frameSheet() {
    Dial dial = realDial(1);
    QImage sheet(kColumns * kSide, std::size(kFrames) / kColumns * kSide, QImage::Format_RGB32);
    sheet.fill(Qt::black);
    for (std::size_t i = 0; i < std::size(kFrames); ++i) {
        const Frame f = kFrames[i];
        dial.compose(f.hour, f.minute, f.mode);
        const QImage frame = dial.frameAt(f.second, f.mode);
        const QImage& face = dial.ImageList1[f.mode.analog ? 0 : 1];
        const QPoint cell(int(i) % kColumns * kSide, int(i) / kColumns * kSide);
        for (int y = 0; y < kSide; ++y)
            for (int x = 0; x < kSide; ++x)
                if (qAlpha(face.pixel(x, y)) == 255)
                    sheet.setPixel(cell + QPoint(x, y), frame.pixel(x, y) | 0xFF000000u);
    }
    return sheet;
}

} // namespace

// HOURLING_WRITE_DIAL_FRAMES=1 writes the sheet anew, for a change meant to alter the 1x dial.
TEST(DialFrames, OneXFramesStayAsTheyWere) {
    if (AssetCatalogue::bitmap("Mojiban").isNull())
        GTEST_SKIP() << "the faces are not among the program's pictures";
    const QImage sheet = frameSheet();
    if (qEnvironmentVariableIsSet("HOURLING_WRITE_DIAL_FRAMES")) {
        ASSERT_TRUE(sheet.save(kGolden));
    }
    const QImage golden = QImage(kGolden).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(golden.size(), sheet.size());
    for (int y = 0; y < sheet.height(); ++y)
        for (int x = 0; x < sheet.width(); ++x)
            ASSERT_EQ(sheet.pixel(x, y), golden.pixel(x, y))
                << "frame " << x / kSide + y / kSide * kColumns << " at " << x % kSide << ","
                << y % kSide;
}

// Across the second hand half way out, the device pixels at least half red over the face.
TEST(DialFrames, SecondHandIsALogicalPixelWideAtRatioTwo) {
    Dial dial = realDial(2);
    dial.compose(-1, -1, kAnalog);
    ASSERT_EQ(dial.dialImage.size(), QSize(256, 256));
    const DialGeometry& g = dial.geometry();
    for (const int second : {0, 7, 15, 22, 30, 38, 45, 53}) {
        const QImage frame = dial.frameAt(second, kAnalog);
        EXPECT_EQ(frame.devicePixelRatio(), 2);
        const QPoint tip = g.dialPoint(second, g.secondHandLength);
        const QPoint middle = (g.dialPoint(second, g.secondHandLength / 2) * 2) + QPoint(1, 1);
        // Across the hand: a column for a hand nearer the horizontal, a row otherwise.
        const bool column = std::abs(tip.x() - g.centre.x()) > std::abs(tip.y() - g.centre.y());
        int red = 0;
        for (int d = -8; d <= 8; ++d) {
            const QRgb p = frame.pixel(middle + (column ? QPoint(0, d) : QPoint(d, 0)));
            red += qRed(p) > 160 && qGreen(p) < 128 && qBlue(p) < 128;
        }
        EXPECT_GE(red, 2) << second;
        EXPECT_LE(red, 4) << second;
    }
}

// The 2x strip's pixels land one for one where the glyph goes, nothing resampled.
TEST(DialFrames, DigitsAtRatioTwoAreTheTwoXGlyphs) {
    Dial dial = realDial(2);
    const DigitLayout& l = dial.digits().layout();
    dial.compose(9, 5, k24);
    const QImage frame = dial.frameAt(37, k24);
    struct Glyph {
        GlyphList list;
        int index;
        QPoint at;
    };
    for (const Glyph g :
         {Glyph{GlyphList::DigiNumber, 5, QPoint(l.minuteUnitsLeft(), l.hourRow.y())},
          Glyph{GlyphList::DigiNumSmall, 7, l.seconds + QPoint(l.smallDigitAdvance, 0)}}) {
        const char* name = g.list == GlyphList::DigiNumber ? "DigiNumber" : "DigiNumSmall";
        const QImage strip = AssetCatalogue::maskedBitmap(QString::fromLatin1(name), 2);
        const QSize cell = AssetCatalogue::glyphSize(g.list) * 2;
        int drawn = 0;
        for (int y = 0; y < cell.height(); ++y)
            for (int x = 0; x < cell.width(); ++x) {
                const QRgb glyph = strip.pixel(g.index * cell.width() + x, y);
                if (qAlpha(glyph) < 255)
                    continue;
                ++drawn;
                ASSERT_EQ(frame.pixel(g.at * 2 + QPoint(x, y)), glyph)
                    << name << " " << x << "," << y;
            }
        EXPECT_GT(drawn, 100) << name;
    }
}

TEST(DialFrames, RatioOneAndAHalf) {
    Dial dial = realDial(1.5);
    for (const DialMode mode : {kAnalog, k12}) {
        dial.compose(10, 10, mode);
        const QImage frame = dial.frameAt(30, mode);
        EXPECT_EQ(frame.size(), QSize(192, 192));
        EXPECT_EQ(frame.devicePixelRatio(), 1.5);
    }
}
