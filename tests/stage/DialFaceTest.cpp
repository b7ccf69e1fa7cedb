#include "stage/AssetCatalogue.h"

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <gtest/gtest.h>
#include <set>

namespace {

using List = AssetCatalogue::GlyphList;
using Pixels = std::set<std::pair<int, int>>;

constexpr QRgb canvasColour = 0xFF3080C0;

// The pixels that drawing one glyph at `at` changes on a plain canvas.
Pixels glyphPixels(List list, int index, QPoint at = {}, QRgb* colour = nullptr) {
    QImage canvas(128, 128, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(canvasColour);
    {
        QPainter painter(&canvas);
        AssetCatalogue::drawGlyph(painter, list, index, at);
    }
    Pixels changed;
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            if (canvas.pixel(x, y) != canvasColour) {
                changed.insert({x, y});
                if (colour)
                    *colour = canvas.pixel(x, y);
            }
        }
    }
    return changed;
}

// Pixels of the digital face that are not the liquid-crystal field's own colour, inside a box.
Pixels ghostPixels(const QImage& face, QRect box) {
    const QRgb field = face.pixel(64, 17); // between the top of the frame and the hour row
    Pixels ghosts;
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x)
            if (face.pixel(x, y) != field)
                ghosts.insert({x, y});
    return ghosts;
}

Pixels unite(std::initializer_list<Pixels> parts) {
    Pixels all;
    for (const Pixels& p : parts)
        all.insert(p.begin(), p.end());
    return all;
}

bool includes(const Pixels& outer, const Pixels& inner) {
    return std::includes(outer.begin(), outer.end(), inner.begin(), inner.end());
}

} // namespace

TEST(DialFace, masksCoverExactlyTheDialOutline) {
    const auto outline = AssetCatalogue::region(2);
    ASSERT_TRUE(outline);
    for (const char* name : {"MojibanMask", "MojibanDigiMask"}) {
        const QImage mask = AssetCatalogue::bitmap(name);
        ASSERT_EQ(mask.size(), QSize(128, 128)) << name;
        for (int y = 0; y < 128; ++y)
            for (int x = 0; x < 128; ++x)
                ASSERT_EQ(mask.pixel(x, y) == qRgb(0, 0, 0), outline->contains(QPoint(x, y)))
                    << name << " " << x << "," << y;
    }
    const QImage masked = AssetCatalogue::maskedImage(AssetCatalogue::bitmap("Mojiban"),
                                                      AssetCatalogue::bitmap("MojibanMask"));
    EXPECT_EQ(qAlpha(masked.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(masked.pixel(8, 0)), 255);
    EXPECT_EQ(qAlpha(masked.pixel(64, 64)), 255);
}

TEST(DialFace, analogCentreIsClearForTheHands) {
    const QImage face = AssetCatalogue::bitmap("Mojiban");
    const QRgb centre = face.pixel(64, 64);
    for (int y = 64 - 30; y <= 64 + 30; ++y)
        for (int x = 64 - 30; x <= 64 + 30; ++x)
            ASSERT_EQ(face.pixel(x, y), centre) << x << "," << y;
}

TEST(DialFace, colonGlyphTouchesOnlyItsTwoDots) {
    const Pixels colon = glyphPixels(List::DigiNumber, 11, QPoint(40, 30));
    ASSERT_FALSE(colon.empty());
    int upper = 0, lower = 0;
    for (auto [x, y] : colon) {
        EXPECT_GE(x - 40, 2);
        EXPECT_LE(x - 40, 6);
        // Two dots: one above the glyph's middle, one below, nothing on the middle line.
        EXPECT_NE(y - 30, 24);
        (y - 30 < 24 ? upper : lower)++;
    }
    EXPECT_GT(upper, 8);
    EXPECT_EQ(upper, lower);
}

TEST(DialFace, glyphsAreFlatColoursAndStayInTheirCells) {
    QRgb colour = 0;
    for (int i = 0; i < 13; ++i) {
        const Pixels big = glyphPixels(List::DigiNumber, i, {}, &colour);
        EXPECT_FALSE(big.empty()) << i;
        EXPECT_EQ(colour, qRgb(66, 66, 66)) << i;
        for (auto [x, y] : big)
            ASSERT_TRUE(x < 24 && y < 48) << i;
        const Pixels small = glyphPixels(List::DigiNumSmall, i, {}, &colour);
        EXPECT_FALSE(small.empty()) << i;
        EXPECT_EQ(colour, qRgb(66, 66, 66)) << i;
        for (auto [x, y] : small)
            ASSERT_TRUE(x < 16 && y < 32) << i;
    }
    const Pixels am = glyphPixels(List::AmPm, 0, {}, &colour);
    EXPECT_EQ(colour, qRgb(0, 0, 0));
    const Pixels pm = glyphPixels(List::AmPm, 1, {}, &colour);
    EXPECT_EQ(colour, qRgb(0, 0, 0));
    for (auto [x, y] : am)
        EXPECT_TRUE(x < 32 && y < 16);
    for (auto [x, y] : pm)
        EXPECT_TRUE(x >= 32 && x < 64 && y < 16);

    // The minus is the middle bar of the three bars, which are the 8's horizontal segments.
    const Pixels eight = glyphPixels(List::DigiNumber, 8);
    const Pixels minus = glyphPixels(List::DigiNumber, 10);
    const Pixels bars = glyphPixels(List::DigiNumber, 12);
    EXPECT_TRUE(includes(bars, minus));
    EXPECT_TRUE(includes(eight, bars));
    EXPECT_TRUE(includes(eight, glyphPixels(List::DigiNumber, 0)));
    EXPECT_TRUE((unite({glyphPixels(List::DigiNumber, 0), minus}) == eight));
}

TEST(DialFace, indexesOutsideAListDrawNothing) {
    for (List list : {List::DigiNumber, List::DigiNumSmall, List::AmPm}) {
        EXPECT_TRUE(glyphPixels(list, -1).empty());
        EXPECT_TRUE(glyphPixels(list, AssetCatalogue::glyphCount(list)).empty());
    }
}

TEST(DialFace, ghostSegmentsLieUnderTheGlyphs) {
    const QImage face = AssetCatalogue::bitmap("MojibanDigi");
    ASSERT_FALSE(face.isNull());
    const int digitLefts[] = {10, 34, 70, 94};
    const QPoint secondsAt[] = {{86, 72}, {102, 72}};

    // Every digit at every place of the display lies on its ghost segments.
    const Pixels hourRowGhosts = ghostPixels(face, QRect(10, 24, 108, 48));
    const Pixels secondsGhosts = ghostPixels(face, QRect(86, 72, 32, 32));
    for (int digit = 0; digit < 10; ++digit) {
        for (int left : digitLefts)
            EXPECT_TRUE(includes(hourRowGhosts, glyphPixels(List::DigiNumber, digit, {left, 24})))
                << digit << " at " << left;
        for (QPoint at : secondsAt)
            EXPECT_TRUE(includes(secondsGhosts, glyphPixels(List::DigiNumSmall, digit, at)))
                << digit << " at " << at.x();
    }

    // And the ghosts are nothing more than 88:88, 88 and both signs.
    Pixels hourRow = glyphPixels(List::DigiNumber, 11, {58, 24});
    for (int left : digitLefts)
        hourRow = unite({hourRow, glyphPixels(List::DigiNumber, 8, {left, 24})});
    EXPECT_TRUE(hourRow == hourRowGhosts);
    EXPECT_TRUE((unite({glyphPixels(List::DigiNumSmall, 8, secondsAt[0]),
                        glyphPixels(List::DigiNumSmall, 8, secondsAt[1])}) == secondsGhosts));
    const Pixels signGhosts = ghostPixels(face, QRect(10, 88, 64, 16));
    EXPECT_TRUE((unite({glyphPixels(List::AmPm, 0, {10, 88}),
                        glyphPixels(List::AmPm, 1, {10, 88})}) == signGhosts));
}
