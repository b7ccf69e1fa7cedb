#include "clock/DialGeometry.h"

#include <gtest/gtest.h>

namespace {

const DialGeometry geometry;

QPoint tip(const HandShape& shape, int position) {
    return geometry.placeHand(shape, position)[0];
}

// Where the dial points the hour hand at a few times: one position on every 12 minutes.
struct HourPosition {
    int hour;
    int minute;
    int position;
};
constexpr HourPosition kHourPositions[] = {{2, 0, 10}, {3, 0, 15}, {12, 59, 4}, {1, 0, 5}};

QPoint hourTip(int hour, int minute) {
    for (const HourPosition& at : kHourPositions) {
        if (at.hour == hour && at.minute == minute)
            return tip(geometry.hourHandShape, at.position);
    }
    ADD_FAILURE() << "no hour position for " << hour << ":" << minute;
    return {};
}

} // namespace

TEST(DialGeometry, LengthsAreTruncatedFromTheBox) {
    EXPECT_EQ(geometry.centre, QPoint(64, 64));
    EXPECT_EQ(geometry.minuteHandLength, 51);
    EXPECT_EQ(geometry.hourHandLength, 38);
    EXPECT_EQ(geometry.secondHandLength, 45); // 45.9 truncated, not rounded
    EXPECT_EQ(geometry.tailLength, 12);
    const std::array<QPoint, 6> minute{QPoint(0, 51),  QPoint(-4, 47), QPoint(-4, -8),
                                       QPoint(0, -12), QPoint(4, -8),  QPoint(4, 47)};
    const std::array<QPoint, 6> hour{QPoint(0, 38),  QPoint(-6, 34), QPoint(-6, -8),
                                     QPoint(0, -12), QPoint(6, -8),  QPoint(6, 34)};
    EXPECT_EQ(geometry.minuteHandShape.points, minute);
    EXPECT_EQ(geometry.hourHandShape.points, hour);
    EXPECT_EQ(geometry.minuteHandShape.count, 6);
}

TEST(DialGeometry, QuartersAreExactAndTheRestUseSinglePrecisionPi) {
    const int quarters[] = {0, 15, 30, 45};
    const double sines[] = {0, -1, 0, 1};
    const double cosines[] = {-1, 0, 1, 0};
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(geometry.sinTable[quarters[k]], sines[k]);
        EXPECT_EQ(geometry.cosTable[quarters[k]], cosines[k]);
    }
    const double floatPi = 3.1415927410125732;
    EXPECT_EQ(geometry.sinTable[10], std::sin(40 * 6 * floatPi / 180));
    EXPECT_NE(geometry.sinTable[10], std::sin(40 * 6 * M_PI / 180));
}

TEST(DialGeometry, HandTipsAtThreeOClockAndQuarterPast) {
    EXPECT_EQ(tip(geometry.minuteHandShape, 0), QPoint(64, 13));
    EXPECT_EQ(hourTip(3, 0), QPoint(102, 64));
    EXPECT_EQ(tip(geometry.minuteHandShape, 15), QPoint(115, 64));
    EXPECT_EQ(geometry.dialPoint(0, geometry.secondHandLength), QPoint(64, 19));
    EXPECT_EQ(geometry.dialPoint(0, -geometry.tailLength), QPoint(64, 76));
}

TEST(DialGeometry, SinglePrecisionPiShowsInThePixels) {
    // Exact pi would give (96, 44) and a second-hand tail at (58, 74).
    EXPECT_EQ(hourTip(2, 0), QPoint(96, 45));
    EXPECT_EQ(geometry.dialPoint(5, geometry.secondHandLength), QPoint(86, 25));
    EXPECT_EQ(geometry.dialPoint(5, -geometry.tailLength), QPoint(57, 74));
}

TEST(DialGeometry, HourHandCreepsEveryTwelveMinutes) {
    EXPECT_EQ(hourTip(12, 59), QPoint(79, 29)); // still at 4
    EXPECT_EQ(hourTip(1, 0), QPoint(83, 31));
    EXPECT_EQ(tip(geometry.hourHandShape, 5), geometry.dialPoint(5, geometry.hourHandLength));
    EXPECT_NE(tip(geometry.hourHandShape, 4), tip(geometry.hourHandShape, 5));
}

TEST(DialGeometry, PositionsWrapAroundTheDial) {
    EXPECT_EQ(geometry.dialPoint(60, 45), geometry.dialPoint(0, 45));
    EXPECT_EQ(geometry.dialPoint(-1, 45), geometry.dialPoint(59, 45));
    EXPECT_EQ(geometry.rotateHandPoint(75, QPoint(0, 51)), QPoint(115, 64));
}
