#include "clock/Dial.h"
#include "stage/AssetCatalogue.h"
#include "support/harness/XSession.h"

#include <gtest/gtest.h>

namespace {

constexpr DialMode kAnalog{true, false}, k24{false, false}, k12{false, true};
// Hour, minute, second: the second hand at the quarters, across the cap and over the other
// hands; the face alone; the digits in both forms, with AM and PM.
const struct {
    int hour, minute, second;
    DialMode mode;
} kFrames[] = {
    {3, 0, 0, kAnalog},    {12, 0, 0, kAnalog},  {6, 30, 30, kAnalog}, {9, 45, 45, kAnalog},
    {10, 10, 15, kAnalog}, {2, 15, 37, kAnalog}, {7, 40, 23, kAnalog}, {11, 59, 59, kAnalog},
    {-1, -1, 5, kAnalog},  {9, 5, 7, k24},       {23, 59, 59, k24},    {0, 0, 0, k24},
    {0, 30, 42, k12},      {12, 30, 5, k12},     {22, 45, 30, k12},    {-1, -1, 18, k12}};

Dial realDial(qreal ratio) {
    return Dial(QRect(80, 256, 128, 128),
                {AssetCatalogue::bitmap("Stage"), AssetCatalogue::maskedBitmap("Mojiban", ratio),
                 AssetCatalogue::maskedBitmap("MojibanDigi", ratio)},
                AssetCatalogue::drawGlyph,
                DigitLayout::compute({24, 48}, {16, 32}, {64, 16}, QPoint(64, 64)), ratio);
}

// The frames at 1x four a row, black wherever the face is not drawn: her shape hides that.
QImage frameSheet() {
    Dial dial = realDial(1);
    QImage sheet(512, 512, QImage::Format_RGB32);
    sheet.fill(Qt::black);
    for (int i = 0; i < 16; ++i) {
        const auto f = kFrames[i];
        dial.compose(f.hour, f.minute, f.mode);
        const QImage frame = dial.frameAt(f.second, f.mode);
        for (int y = 0; y < 128; ++y)
            for (int x = 0; x < 128; ++x)
                if (qAlpha(dial.ImageList1[f.mode.analog ? 0 : 1].pixel(x, y)) == 255)
                    sheet.setPixel(i % 4 * 128 + x, i / 4 * 128 + y, frame.pixel(x, y));
    }
    return sheet;
}

} // namespace

// HOURLING_WRITE_DIAL_FRAMES=1 writes the sheet anew, for a change meant to alter the 1x dial.
TEST(DialFrames, OneXFramesStayAsTheyWere) {
    const char* golden = HOURLING_SOURCE_DIR "/tests/data/dial-frames-1x.png";
    const QImage sheet = frameSheet();
    if (qEnvironmentVariableIsSet("HOURLING_WRITE_DIAL_FRAMES")) {
        ASSERT_TRUE(sheet.save(golden));
    }
    EXPECT_TRUE(sheet == QImage(golden).convertToFormat(QImage::Format_RGB32))
        << "as drawn now: " << sheet.save(artifactPath("dial-frames-1x.png"));
}

// Half way out the second hand, the device pixels at least half red across it: the fewer of
// a row's and a column's.
TEST(DialFrames, SecondHandIsALogicalPixelWideAtRatioTwo) {
    Dial dial = realDial(2);
    dial.compose(-1, -1, kAnalog);
    const DialGeometry& g = dial.geometry();
    for (const int second : {0, 7, 15, 22, 30, 38, 45, 53}) {
        const QImage frame = dial.frameAt(second, kAnalog);
        ASSERT_EQ(frame.size(), QSize(256, 256));
        const QPoint middle = g.dialPoint(second, g.secondHandLength / 2) * 2 + QPoint(1, 1);
        const auto red = [&](QPoint p) {
            return qRed(frame.pixel(p)) > 160 && qGreen(frame.pixel(p)) < 128;
        };
        int row = 0, column = 0;
        for (int k = -8; k <= 8; ++k) {
            row += red(middle + QPoint(k, 0));
            column += red(middle + QPoint(0, k));
        }
        EXPECT_TRUE(std::min(row, column) >= 2 && std::min(row, column) <= 4) << second;
    }
}

// The 2x strip's pixels land one for one where a glyph goes, nothing resampled.
TEST(DialFrames, DigitsAtRatioTwoAreTheTwoXGlyphs) {
    Dial dial = realDial(2);
    const DigitLayout& l = dial.digits().layout();
    dial.compose(9, 5, k24);
    const QImage frame = dial.frameAt(37, k24);
    const QImage strip = AssetCatalogue::maskedBitmap("DigiNumSmall", 2);
    const QPoint at = (l.seconds + QPoint(l.smallDigitAdvance, 0)) * 2;
    int drawn = 0;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 32; ++x)
            if (const QRgb glyph = strip.pixel(7 * 32 + x, y); qAlpha(glyph) == 255) {
                ++drawn;
                ASSERT_EQ(frame.pixel(at + QPoint(x, y)), glyph) << x << "," << y;
            }
    EXPECT_GT(drawn, 100);
}

// At each of her sizes the dial is the 2x one drawn smaller or larger: few pixels far from
// the 2x dial scaled to that size.
TEST(DialFrames, AtEverySizeTheDialIsTheTwoXDialScaled) {
    Dial twoX = realDial(2);
    for (const qreal ratio : {0.5, 0.75, 1.25, 1.5, 3.0})
        for (const auto& f : {kFrames[4], kFrames[6], kFrames[9], kFrames[14]}) {
            Dial dial = realDial(ratio);
            twoX.compose(f.hour, f.minute, f.mode);
            dial.compose(f.hour, f.minute, f.mode);
            const QImage frame = dial.frameAt(f.second, f.mode);
            const QImage expected =
                twoX.frameAt(f.second, f.mode)
                    .scaled(frame.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            int far = 0;
            for (int y = 0; y < frame.height(); ++y)
                for (int x = 0; x < frame.width(); ++x) {
                    const QRgb a = frame.pixel(x, y), b = expected.pixel(x, y);
                    far += std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                                     std::abs(qBlue(a) - qBlue(b))}) > 128;
                }
            EXPECT_LT(far, frame.width() * frame.height() / 100) << ratio << ", " << f.second;
        }
}
