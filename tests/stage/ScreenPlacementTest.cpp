// Where her window stands so that she can be seen, for the screens' available areas: one
// table of windows and desktops.
#include "stage/ScreenPlacement.h"
#include "support/fixtures/QtPrinters.h"

#include <gtest/gtest.h>
#include <ostream>

namespace {

constexpr QSize kHer{208, 452};

struct PlacementCase {
    const char* name;
    QPoint at;
    QList<QRect> areas;
    QPoint expected;
};

void PrintTo(const PlacementCase& c, std::ostream* out) {
    *out << c.name;
}

const QRect kLaptop(0, 0, 1366, 768);
// A laptop with a panel of 32 pixels along its top.
const QRect kLaptopBelowPanel(0, 32, 1366, 736);
// A monitor of 1920x1080 to the right of the laptop, its top level with the laptop's.
const QRect kRightMonitor(1366, 0, 1920, 1080);
// One above the laptop, as a monitor standing on a desk behind it.
const QRect kMonitorAbove(0, -1080, 1920, 1080);

const PlacementCase kCases[] = {
    {"WhollyOnItsScreenStays", {40, 64}, {kLaptop}, {40, 64}},
    {"AtTheVeryCornerStays", {1366 - 208, 768 - 452}, {kLaptop}, {1366 - 208, 768 - 452}},
    {"OnAnUnpluggedMonitorToTheRightComesToTheRightEdge",
     {2500, 300},
     {kLaptop},
     {1366 - 208, 300}},
    {"OnAnUnpluggedMonitorAboveComesToTheTop", {300, -900}, {kLaptop}, {300, 0}},
    {"FarOffEveryScreenComesToTheNearestCorner", {-50000, 90000}, {kLaptop}, {0, 768 - 452}},
    {"PartlyOffTheLeftEdgeComesWhollyOn", {-30, 200}, {kLaptop}, {0, 200}},
    {"PartlyBelowTheBottomComesUp", {100, 700}, {kLaptop}, {100, 768 - 452}},
    {"UnderAPanelComesBelowIt", {100, 10}, {kLaptopBelowPanel}, {100, 32}},
    {"AcrossTwoScreensSideBySideStays", {1300, 100}, {kLaptop, kRightMonitor}, {1300, 100}},
    {"AcrossTwoScreensButOffTheShorterOneGoesOntoTheOneSheOverlapsMost",
     {1300, 500},
     {kLaptop, kRightMonitor},
     {1366, 500}},
    {"OnTheRightMonitorStays", {2000, 600}, {kLaptop, kRightMonitor}, {2000, 600}},
    {"BelowTheRightMonitorComesOntoIt", {2000, 1200}, {kLaptop, kRightMonitor}, {2000, 1080 - 452}},
    {"BelowTheLaptopNearerToItThanToTheMonitor",
     {900, 900},
     {kLaptop, kRightMonitor},
     {900, 768 - 452}},
    {"OffToTheRightOfBothComesOntoTheMonitor",
     {4000, 100},
     {kLaptop, kRightMonitor},
     {1366 + 1920 - 208, 100}},
    {"AboveTheLaptopWithAMonitorAboveStays", {300, -700}, {kLaptop, kMonitorAbove}, {300, -700}},
    {"TheMonitorAboveUnpluggedLeavesTheLaptop", {300, -700}, {kLaptop}, {300, 0}},
    {"AScreenSmallerThanSheIsTakesHerTopLeftCorner", {50, 50}, {QRect(0, 0, 160, 400)}, {0, 0}},
    {"NoScreenAtAllLeavesHerWhereSheIs", {2500, 300}, {}, {2500, 300}},
    {"AnEmptyAreaCountsForNothing", {2500, 600}, {QRect(), kLaptop}, {1366 - 208, 768 - 452}},
};

class ScreenPlacement : public ::testing::TestWithParam<PlacementCase> {};

TEST_P(ScreenPlacement, BringsHerWhollyOntoTheNearestScreenOnlyWhenSheIsNotSeenWhole) {
    const PlacementCase& c = GetParam();
    EXPECT_EQ(visiblePlace(QRect(c.at, kHer), c.areas), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, ScreenPlacement, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
