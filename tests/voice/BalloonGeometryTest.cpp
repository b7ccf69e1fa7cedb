// Where the balloon goes for each place of hers on the screen, where its tail points, and
// its shape.
#include "voice/BalloonGeometry.h"
#include "support/fixtures/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

const QSize kStageClient(208, 452);
const QRect kMouth(40, 108, 81, 37);
const QSize kBalloonClient(240, 160);
const QRect kTailGuide(35, 48, 169, 65);
const QRect kBody(0, 30, 240, 100);

// The stage window whose centre is at (x, y).
QPoint stageCentredAt(int x, int y) {
    return {x - kStageClient.width() / 2, y - kStageClient.height() / 2};
}

struct CornerCase {
    const char* name;
    QPoint centre; // on a 1024 x 768 screen
    int corner;
};

void PrintTo(const CornerCase& c, std::ostream* out) {
    *out << c.name;
}

class BalloonCornerOnScreen : public ::testing::TestWithParam<CornerCase> {};

// Half 512, quarter 192: the left or right half, and below / above / below / above in the
// four bands of rows.
TEST_P(BalloonCornerOnScreen, FollowsWhereHerCentreLiesOnHerScreen) {
    const CornerCase& c = GetParam();
    const QRect single(0, 0, 1024, 768);
    EXPECT_EQ(balloonCorner(stageCentredAt(c.centre.x(), c.centre.y()), kStageClient, single),
              c.corner);
    // The same on the second of two screens side by side, by its own geometry.
    const QRect second(1024, 0, 1024, 768);
    EXPECT_EQ(
        balloonCorner(stageCentredAt(c.centre.x() + 1024, c.centre.y()), kStageClient, second),
        c.corner);
}

INSTANTIATE_TEST_SUITE_P(Screen1024x768, BalloonCornerOnScreen,
                         ::testing::Values(CornerCase{"topLeft", {0, 0}, 0},
                                           CornerCase{"leftOfMiddle", {511, 100}, 0},
                                           CornerCase{"middleColumnGoesLeft", {512, 100}, 1},
                                           CornerCase{"rightEdge", {1023, 100}, 1},
                                           CornerCase{"justAboveQuarter", {100, 191}, 0},
                                           CornerCase{"quarterGoesAbove", {100, 192}, 2},
                                           CornerCase{"halfGoesAbove", {100, 384}, 2},
                                           CornerCase{"justBelowHalfGoesBelow", {600, 385}, 1},
                                           CornerCase{"sampleRow426", {104, 426}, 0},
                                           CornerCase{"justAboveThreeQuarters", {100, 575}, 0},
                                           CornerCase{"threeQuartersGoesAbove", {700, 576}, 3},
                                           CornerCase{"bottomEdge", {100, 767}, 2},
                                           CornerCase{"offTheLeftEdge", {-50, 100}, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(BalloonCorner, UsesTheScreensPositionAndNotItsSizeAlone) {
    // Centre column 1124: the left half of a second screen, though right of 512.
    EXPECT_EQ(balloonCorner(stageCentredAt(1124, 100), kStageClient, QRect(1024, 0, 1024, 768)), 0);
    // A screen below another: rows count from its own top.
    EXPECT_EQ(balloonCorner(stageCentredAt(100, 768 + 191), kStageClient, QRect(0, 768, 1024, 768)),
              0);
    // Odd sizes divide down: half 511, quarter 191.
    EXPECT_EQ(balloonCorner(stageCentredAt(511, 191), kStageClient, QRect(0, 0, 1023, 767)), 3);
    EXPECT_EQ(balloonCorner(stageCentredAt(510, 190), kStageClient, QRect(0, 0, 1023, 767)), 0);
    // An odd client width divides down too: centre column 400 + 104, left of 505.
    EXPECT_EQ(balloonCorner({400, -100}, QSize(209, 452), QRect(0, 0, 1010, 768)), 0);
}

TEST(BalloonPlacement, TheSampleWindowPutsTheBalloonBelowRightOfHerMouth) {
    const QPoint stage(0, 200);
    const int corner = balloonCorner(stage, kStageClient, QRect(0, 0, 1024, 768));
    ASSERT_EQ(corner, 0);
    const BalloonPlacement placed = placeBalloon(corner, stage, kMouth, kBalloonClient, kTailGuide);
    EXPECT_EQ(placed.position, QPoint(121, 345));
    // The tip sits on the mouth area's bottom-right corner.
    ASSERT_TRUE(placed.tail);
    EXPECT_EQ(placed.position + (*placed.tail)[0], stage + QPoint(121, 145));
}

TEST(BalloonPlacement, EachCornerTouchesItsCornerOfTheMouth) {
    const QPoint stage(300, 200);
    struct Expected {
        QPoint position;
        TailPoints tail;
    };
    const Expected expected[] = {
        {{421, 345}, {QPoint(0, 0), QPoint(35, 48), QPoint(83, 48)}},
        {{100, 345}, {QPoint(240, 0), QPoint(204, 48), QPoint(156, 48)}},
        {{421, 148}, {QPoint(0, 160), QPoint(35, 113), QPoint(83, 113)}},
        {{100, 148}, {QPoint(240, 160), QPoint(204, 113), QPoint(156, 113)}},
    };
    for (int corner = 0; corner < 4; ++corner) {
        const BalloonPlacement placed =
            placeBalloon(corner, stage, kMouth, kBalloonClient, kTailGuide);
        EXPECT_EQ(placed.position, expected[corner].position) << corner;
        ASSERT_TRUE(placed.tail) << corner;
        EXPECT_EQ(*placed.tail, expected[corner].tail) << corner;
    }
}

TEST(BalloonPlacement, WithoutACornerItAimsAtTheMouthsCentreWithoutATail) {
    const BalloonPlacement placed =
        placeBalloon(-1, {300, 200}, kMouth, kBalloonClient, kTailGuide);
    EXPECT_EQ(placed.position, QPoint(300 + 80, 200 + 126));
    EXPECT_FALSE(placed.tail);
}

TEST(BalloonShape, IsTheRoundedBodyJoinedWithTheTail) {
    const TailPoints tail0{QPoint(0, 0), QPoint(35, 48), QPoint(83, 48)};
    const auto shape = balloonShape(kBody, tail0);
    ASSERT_TRUE(shape);
    EXPECT_TRUE(shape->contains(QPoint(120, 80)));
    // The body's corners are rounded off; its edges are whole.
    for (const QPoint cut : {QPoint(0, 30), QPoint(239, 30), QPoint(0, 129), QPoint(239, 129)})
        EXPECT_FALSE(shape->contains(cut)) << cut.x() << "," << cut.y();
    for (const QPoint edge : {QPoint(4, 30), QPoint(0, 34), QPoint(239, 80), QPoint(120, 129)})
        EXPECT_TRUE(shape->contains(edge)) << edge.x() << "," << edge.y();
    // The tail reaches to the client's corner, and only the tail lies above the body.
    EXPECT_TRUE(shape->contains(QPoint(3, 3)));
    EXPECT_TRUE(shape->contains(QPoint(40, 29)));
    EXPECT_FALSE(shape->contains(QPoint(10, 2)));
    EXPECT_FALSE(shape->contains(QPoint(100, 20)));
    EXPECT_EQ(shape->boundingRect().bottom(), 129);

    const TailPoints tail3{QPoint(240, 160), QPoint(204, 113), QPoint(156, 113)};
    const auto mirrored = balloonShape(kBody, tail3);
    ASSERT_TRUE(mirrored);
    EXPECT_TRUE(mirrored->contains(QPoint(236, 156)));
    EXPECT_FALSE(mirrored->contains(QPoint(229, 157)));
    EXPECT_FALSE(mirrored->contains(QPoint(120, 140)));
    EXPECT_EQ(mirrored->boundingRect().top(), 30);
}

TEST(BalloonShape, WithoutABodyThereIsNoShape) {
    EXPECT_FALSE(balloonShape(QRect(0, 30, 0, 100), std::nullopt));
    EXPECT_EQ(balloonShape(kBody, std::nullopt)->boundingRect(), kBody);
}

// The region and the pixels up to `by` from it, diagonals included.
QRegion grown(const QRegion& region, int by) {
    QRegion result;
    for (int dx = -by; dx <= by; ++dx)
        for (int dy = -by; dy <= by; ++dy)
            result |= region.translated(dx, dy);
    return result;
}

TEST(BalloonOutline, AtOneIsTheShapeItAlwaysHadForEveryCorner) {
    for (int corner = 0; corner < 4; ++corner) {
        const auto tail = placeBalloon(corner, {}, kMouth, kBalloonClient, kTailGuide).tail;
        EXPECT_EQ(balloonOutline(kBody, tail, kBalloonClient, 1.0)->shape,
                  *balloonShape(kBody, tail));
    }
}

TEST(BalloonOutline, AtTwoFollowsTheOutlineInDevicePixelsWithItsFringeOutside) {
    const TailPoints tail{QPoint(0, 0), QPoint(35, 48), QPoint(83, 48)};
    const QRegion doubled = QTransform::fromScale(2, 2).map(*balloonShape(kBody, tail));
    const auto outline = balloonOutline(kBody, tail, kBalloonClient, 2.0);
    ASSERT_TRUE(outline);
    EXPECT_NE(outline->shape, doubled);
    // Within a logical pixel: the rounding at 1 left its bottom corners a little fuller.
    EXPECT_TRUE((outline->shape - grown(doubled, 1)).isEmpty());
    EXPECT_TRUE((doubled - grown(outline->shape, 2)).isEmpty());
    EXPECT_EQ(outline->picture.pixel(1, 160), qRgb(0, 0, 0));
    EXPECT_EQ(outline->picture.pixel(2, 160), qRgb(255, 255, 255));
    ASSERT_FALSE(outline->fringe.isEmpty());
    EXPECT_TRUE((outline->fringe - (grown(outline->shape, 1) - outline->shape)).isEmpty());
    const QRgb edge = outline->picture.pixel(outline->fringe.begin()->topLeft());
    EXPECT_TRUE(qAlpha(edge) > 0 && qAlpha(edge) < 255 && qRed(edge) == 0);
}

TEST(LineTopInsideBody, LiftsOnlyALineThatWouldReachTheOutline) {
    const QRect body(0, 30, 240, 100);
    struct Case {
        int formTop, lineHeight, top;
    } cases[] = {{116, 11, 116}, {116, 12, 116}, {116, 13, 115}, {116, 17, 111}};
    for (const Case& c : cases)
        EXPECT_EQ(lineTopInsideBody(c.formTop, c.lineHeight, body), c.top) << c.lineHeight;
}

TEST(RegionFrame, IsTheInnerEdgeOnePixelWide) {
    EXPECT_EQ(regionFrame(QRegion(0, 0, 10, 10)), QRegion(0, 0, 10, 10) - QRegion(1, 1, 8, 8));
    const QRegion shape =
        *balloonShape(kBody, TailPoints{QPoint(0, 0), QPoint(35, 48), QPoint(83, 48)});
    const QRegion frame = regionFrame(shape);
    EXPECT_TRUE((frame - shape).isEmpty());
    EXPECT_TRUE(frame.contains(QPoint(0, 80)));
    EXPECT_TRUE(frame.contains(QPoint(120, 129)));
    EXPECT_FALSE(frame.contains(QPoint(1, 80)));
    EXPECT_FALSE(frame.contains(QPoint(120, 80)));
    // Along the tail's sides as well.
    EXPECT_TRUE(frame.intersects(QRect(0, 0, 3, 3)));
    EXPECT_FALSE(frame.contains(QPoint(60, 40)));
}

} // namespace
